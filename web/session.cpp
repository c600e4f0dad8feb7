// The editing session as the page drives it: commands in, one plain state object out.
#include "core/downloadstream.h"
#include "core/editsession.h"
#include "core/eventedits.h"
#include "core/sequencefile.h"
#include "core/usertexts.h"
#include "jsbytes.h"
#include "jsdata.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <map>

using emscripten::val;
using jsbytes::bytesOf;
using jsbytes::stringOf;

namespace {

val resultOf(const CommandResult& r)
{
    val out = val::object();
    out.set("status", r.status);
    out.set("refusal", r.refusal);
    out.set("copied", r.copied ? jsdata::arrayOf(r.copiedEvents) : val::null());
    out.set("copiedText", r.copied ? eventsText(r.copiedEvents) : std::string());
    return out;
}

// The page redraws the whole state after each command; it only needs to know when the
// history moved, to forget an edit's status line as the desktop does.
class PageSession : private SessionObserver
{
public:
    PageSession() : m_session(this) {}

    void clickCell(int led, int slot, bool on) { m_session.clickCell(led, slot, on); }
    void beginPaint() { m_session.beginPaint(); }
    void paintCells(const val& cells, int startSlot)
    {
        std::vector<GridCell> list;
        for (int i = 0, n = cells["length"].as<int>(); i < n; ++i)
            list.push_back({cells[i][0].as<int>(), cells[i][1].as<int>()});
        m_session.paintCells(list, startSlot);
    }
    void endPaint() { m_session.endPaint(); }

    // "left", "right", "up", "down", "home" or "end".
    void moveCursor(const std::string& move, bool extend)
    {
        using Move = EditSession::Move;
        static const std::map<std::string, Move> moves{{"left", Move::Left}, {"right", Move::Right},
                                                       {"up", Move::Up},     {"down", Move::Down},
                                                       {"home", Move::Home}, {"end", Move::End}};
        if (const auto found = moves.find(move); found != moves.end())
            m_session.moveCursor(found->second, extend);
    }
    void placeCursor(int led, int slot) { m_session.placeCursor(led, slot); }
    bool endSelection() { return m_session.endSelection(); }
    void pressRuler(int slot, bool extend) { m_session.pressRuler(slot, extend); }
    void dragRuler(int slot) { m_session.dragRuler(slot); }
    void releaseRuler() { m_session.releaseRuler(); }

    void setLastEvent(int slot) { m_session.setLastEvent(slot); }
    bool applyRowOperation(int row, int operation, int partner)
    {
        return m_session.applyRowOperation(row, RowOperation(operation), partner);
    }
    void setColour(int led, int index) { m_session.setColour(led, index); }
    void setServoMode(int led, int mode) { m_session.setServoMode(led, mode); }
    void applySettings(int delay, int speed) { m_session.applySettings(delay, speed); }

    val run(const std::string& name) { return resultOf(m_session.run(name)); }
    // null: the clipboard holds no text at all.
    val pasteText(const val& text)
    {
        return resultOf(text.isString() ? m_session.pasteText(text.as<std::string>())
                                        : m_session.pasteText(std::nullopt));
    }

    void newSequence() { m_session.newSequence(); }
    std::string open(const val& bytes, const std::string& path, const std::string& shown,
                     bool merge)
    {
        return m_session.open(stringOf(bytes), path, shown, merge);
    }
    std::string openPattern(const val& bytes, const std::string& name)
    {
        return m_session.openPattern(stringOf(bytes), name);
    }
    std::string openLink(const std::string& address) { return m_session.openLink(address); }
    std::string linkRefusal(const std::string& address) const
    {
        return EditSession::linkRefusal(address);
    }
    // The page's address with this sequence's fragment, and the status line that says so.
    val copyLink(const std::string& address) const
    {
        const std::string link = m_session.linkTo(address);
        val out = val::object();
        out.set("link", link);
        out.set("status", linkCopiedLine(link));
        return out;
    }
    std::string linkQuestion() const { return linkOverChangesText(m_session.sequenceName()); }
    void chooseFile(const std::string& path) { m_session.chooseFile(path); }
    void saved(const std::string& path) { m_session.saved(path); }
    // What Save writes.
    val fileBytes() const { return bytesOf(sequenceFileBytes(m_session.data())); }
    // One record of the download as the sequence stands now: a few bytes, read at each
    // record's deadline, where building the whole state would leave garbage to collect.
    val downloadRecord(int record) const
    {
        return bytesOf(
            ::downloadRecord(downloadRecordValue(downloadValuesOf(m_session.data()), record)));
    }
    void undo() { m_session.undo(); }
    void redo() { m_session.redo(); }

    // Everything the page draws; the sequence's fields as the other bindings take them.
    val state() const
    {
        const EditSession& s = m_session;
        val out = jsdata::objectOf(s.data());
        val cursor = val::object();
        cursor.set("led", s.cursorLed());
        cursor.set("slot", s.cursorSlot());
        out.set("cursor", cursor);
        val selection = val::null();
        if (s.hasSelection()) {
            selection = val::object();
            selection.set("first", s.selectedEvents().first);
            selection.set("count", s.selectedEvents().count);
        }
        out.set("selection", selection);
        out.set("title", s.title());
        out.set("fileName", s.fileName());
        out.set("filePath", s.filePath());
        out.set("shareName", s.shareName());
        out.set("modified", s.isModified());
        out.set("canUndo", s.canUndo());
        out.set("canRedo", s.canRedo());
        out.set("undoText", s.undoText());
        out.set("redoText", s.redoText());
        out.set("painting", s.painting());
        out.set("historyChanges", m_historyChanges);
        return out;
    }

private:
    void historyChanged() override { ++m_historyChanges; }

    EditSession m_session;
    int m_historyChanges = 0;
};

val editCommands()
{
    val out = val::array();
    int n = 0;
    for (const CommandEntry& entry : EditSession::editCommands()) {
        val item = val::object();
        item.set("name", std::string(entry.name));
        item.set("text", std::string(entry.text));
        out.set(n++, item);
    }
    return out;
}

val textsOf(const std::vector<std::string>& texts)
{
    val out = val::array();
    for (size_t i = 0; i < texts.size(); ++i)
        out.set(i, texts[i]);
    return out;
}

} // namespace

EMSCRIPTEN_BINDINGS(session)
{
    using namespace emscripten;
    class_<PageSession>("Session")
        .constructor<>()
        .function("clickCell", &PageSession::clickCell)
        .function("beginPaint", &PageSession::beginPaint)
        .function("paintCells", &PageSession::paintCells)
        .function("endPaint", &PageSession::endPaint)
        .function("moveCursor", &PageSession::moveCursor)
        .function("placeCursor", &PageSession::placeCursor)
        .function("endSelection", &PageSession::endSelection)
        .function("pressRuler", &PageSession::pressRuler)
        .function("dragRuler", &PageSession::dragRuler)
        .function("releaseRuler", &PageSession::releaseRuler)
        .function("setLastEvent", &PageSession::setLastEvent)
        .function("applyRowOperation", &PageSession::applyRowOperation)
        .function("setColour", &PageSession::setColour)
        .function("setServoMode", &PageSession::setServoMode)
        .function("applySettings", &PageSession::applySettings)
        .function("run", &PageSession::run)
        .function("pasteText", &PageSession::pasteText)
        .function("newSequence", &PageSession::newSequence)
        .function("open", &PageSession::open)
        .function("openPattern", &PageSession::openPattern)
        .function("openLink", &PageSession::openLink)
        .function("linkRefusal", &PageSession::linkRefusal)
        .function("copyLink", &PageSession::copyLink)
        .function("linkQuestion", &PageSession::linkQuestion)
        .function("chooseFile", &PageSession::chooseFile)
        .function("saved", &PageSession::saved)
        .function("fileBytes", &PageSession::fileBytes)
        .function("downloadRecord", &PageSession::downloadRecord)
        .function("undo", &PageSession::undo)
        .function("redo", &PageSession::redo)
        .function("state", &PageSession::state);
    function("editCommands", &editCommands);
    function(
        "rowOperationTexts", +[] { return textsOf(rowOperationTexts()); });
    function(
        "copyPartnerTexts", +[] { return textsOf(copyPartnerTexts()); });
}

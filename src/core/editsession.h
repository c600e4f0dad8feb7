#pragma once

#include "core/dragpaint.h"
#include "core/eventedits.h"
#include "core/rowpatterns.h"
#include "core/sequencedata.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a view hears of the session: each call names one thing that changed.
class SessionObserver
{
public:
    virtual ~SessionObserver() = default;
    virtual void cellChanged(int /*led*/, int /*slot*/) {}
    virtual void lastEventChanged(int /*previous*/, int /*slot*/) {}
    virtual void colourChanged(int /*led*/) {}
    virtual void servoModeChanged(int /*led*/) {}
    virtual void timingChanged() {}
    virtual void fileChanged() {}
    virtual void modifiedChanged(bool /*modified*/) {}
    // The undo and redo steps, their names, or whether they may be taken.
    virtual void historyChanged() {}
    virtual void cursorChanged() {}
};

// A menu entry of the session's: its object name and its text with the "&" key.
struct CommandEntry
{
    std::string_view name;
    std::string_view text;
};

// What a command did, for the window to pass on.
struct CommandResult
{
    std::string status;            // for the status line; empty for none
    std::string refusal;           // a message box's text when nothing was done
    std::vector<int> copiedEvents; // for the clipboard, after Copy and Cut
    bool copied = false;
};

// The one sequence being edited, as both editions show it: the sequence and the file it
// belongs to, the undo history with its named steps and saved point, the keyboard cursor
// and the selection of whole events, and every editing command with the texts the user
// reads. Views call the commands and redraw what the observer tells them.
// LEDs are 0..3, slots 0..49.
class EditSession
{
public:
    explicit EditSession(SessionObserver* observer = nullptr);
    void setObserver(SessionObserver* observer) { m_observer = observer; }

    // ---- the sequence ----
    const SequenceData& data() const { return m_data; }
    bool cell(int led, int slot) const { return (m_data.events[slot] >> led) & 1; }
    int eventValue(int slot) const { return m_data.events[slot]; }
    int lastEvent() const { return m_data.lastEvent; }
    int colourIndex(int entry) const { return m_data.colourIndexes[entry]; }
    int servoMode(int led) const { return m_data.servoModes[led]; }
    int sequencerDelay() const { return m_data.sequencerDelay; }
    int testSpeed() const { return m_data.testSpeed; }

    // ---- the file ----
    // What Save offers: the file last chosen or used (a path, or a bare name where
    // the edition has no paths); empty before any.
    const std::string& filePath() const { return m_file.path; }
    std::string fileName() const;
    const std::string& title() const { return m_file.title; }
    // "NAME.DAT", or "the new sequence" when the title names no file.
    std::string sequenceName() const;
    // What exported pictures are called: the file's base name, the pattern's, or empty.
    std::string shareName() const;
    // Changed since it was opened, saved or cleared.
    bool isModified() const;

    // ---- the history ----
    bool canUndo() const;
    bool canRedo() const;
    // "&Undo Paste Events", or "&Undo" when there is no step.
    std::string undoText() const;
    std::string redoText() const;
    void undo();
    void redo();

    // ---- the cursor and the selection ----
    int cursorLed() const { return m_cursorLed; }
    int cursorSlot() const { return m_cursorSlot; }
    bool hasSelection() const { return m_anchor >= 0; }
    // The selected events, or the cursor's event when none are selected.
    EventRange selectedEvents() const;
    enum class Move { Left, Right, Up, Down, Home, End };
    // Shift extends the selection over the events passed; a move without it ends it.
    void moveCursor(Move move, bool extend);
    // A click on a cell: the cursor goes there and the selection ends.
    void placeCursor(int led, int slot);
    // Escape: false when there was no selection to end.
    bool endSelection();
    // A press on ruler label `slot`; with Shift, the selection grows to it.
    void pressRuler(int slot, bool extend);
    // A drag along the ruler from the last press, now over `slot`.
    void dragRuler(int slot);
    void releaseRuler() { m_rulerPress = -1; }

    // ---- edits, each one undo step named as the menu names it ----
    // A click (or Space) on a cell: it takes the state `on`.
    void clickCell(int led, int slot, bool on);
    // A drag: cells passed over take the state their own row has at `startSlot`. No step
    // until endPaint; the history and the commands wait for it.
    void beginPaint();
    void paintCells(const std::vector<GridCell>& cells, int startSlot);
    void endPaint();
    bool painting() const { return m_painting; }
    void setLastEvent(int slot);
    // A whole-row operation on `row`; `partner` is the other row of a copy. False when
    // the choice names no operation (the empty line, Cancel, a copy to the row itself).
    bool applyRowOperation(int row, RowOperation operation, int partner = -1);
    void setColour(int led, int index);
    void setServoMode(int led, int mode);
    // Settings OK: the timing changes outside the history, and the sequence is modified.
    void applySettings(int sequencerDelay, int testSpeed);

    // ---- the Edit menu ----
    // Cut, Copy, Paste, Clear Events, Insert Event, Delete Events, Rotate Left, Rotate
    // Right, Reverse Events, Select All Events and Set Last Event, in menu order; an
    // entry with an empty name stands for a separator.
    static const std::vector<CommandEntry>& editCommands();
    // Runs the entry named `name` (Paste takes its events through paste()).
    CommandResult run(std::string_view name);
    // Paste of the program's own bytes or of text from elsewhere.
    CommandResult pasteBytes(std::string_view bytes);
    // Nothing: the clipboard holds no text at all.
    CommandResult pasteText(std::optional<std::string_view> text);

    // ---- files ----
    // New: cells off, last event 49, LEDs white, modes NONE; the timing and the file
    // Save offers stay.
    void newSequence();
    // Open or Merge of file bytes. `path` is what Save will offer, `shown` names the file
    // in a refusal. Returns the refusal's text, empty when the file was taken.
    std::string open(std::string_view bytes, const std::string& path, const std::string& shown,
                     bool merge);
    // A ready pattern, as Open takes a file, but untitled and modified.
    std::string openPattern(std::string_view bytes, const std::string& name);
    // A shared link (an address or its fragment): its sequence replaces this one in one
    // step, untitled and modified, so that Save asks where to keep it rather than writing
    // over the file that was open. Returns the refusal's text, empty when it was taken.
    std::string openLink(std::string_view text);
    // What openLink would refuse the link with, before anyone is asked about changes.
    static std::string linkRefusal(std::string_view text);
    // `address` with its fragment, if any, replaced by the one that carries this sequence.
    std::string linkTo(std::string_view address) const;
    // Save's dialog gave `path`: the next dialog offers it, whether or not it is written.
    void chooseFile(const std::string& path);
    // The sequence was written to `path`.
    void saved(const std::string& path);

private:
    struct FileState
    {
        std::string path, title;
        friend bool operator==(const FileState&, const FileState&) = default;
    };
    struct Snapshot
    {
        SequenceData data;
        FileState file;
        friend bool operator==(const Snapshot&, const Snapshot&) = default;
    };
    struct Step
    {
        std::string name;
        Snapshot before, after;
    };

    Snapshot snapshot() const { return {m_data, m_file}; }
    void setEventValue(int slot, int value);
    void setCell(int led, int slot, bool on);
    void setLast(int slot);
    void setColourEntry(int entry, int index);
    void setMode(int led, int mode);
    void setTiming(int sequencerDelay, int testSpeed);
    void setFile(FileState file);
    void assign(const SequenceData& data);
    void merge(const SequenceData& data);
    void applyEvents(const SequenceData& edited, const std::string& name);
    void restore(const Snapshot& to, const Snapshot& from);
    void commit(const std::string& name);
    void keepOutsideHistory();
    void markSaved();
    void notifyModified(bool was);
    void setCursor(int led, int slot, int anchor);
    std::string describe(EventRange range) const;
    CommandResult paste(const EventsRead& read);

    SessionObserver* m_observer;
    SequenceData m_data;
    FileState m_file;
    std::string m_patternName; // of the pattern opened last, until a file or New
    std::vector<Step> m_steps;
    int m_index = 0;               // steps done
    int m_savedIndex = 0;          // -1 when the saved state left the history
    Snapshot m_base;               // the session as of the last step
    bool m_changedOutside = false; // by Settings OK since the last save
    bool m_painting = false;
    int m_cursorLed = 0, m_cursorSlot = 0;
    int m_anchor = -1;     // where the selection began; -1 for none
    int m_rulerPress = -1; // where a press on the ruler began
};

// The title of a sequence that names a file, and of one that names none.
std::string fileTitle(std::string_view fileName);
std::string plainTitle();
// The row tools' lists, by entry.
const std::vector<std::string>& rowOperationTexts();
const std::vector<std::string>& copyPartnerTexts();

// The editing session's rules, as both editions meet them: a script of user actions,
// then what the window shows. Runs natively and, compiled to WebAssembly, under Node.
#include "core/editsession.h"
#include "core/sequencefile.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

int failures = 0;

// Events as hex digits up to the last lit one; LEDs and events counted from 1.
std::string shown(const EditSession& s, const CommandResult& last, const std::string& key)
{
    if (key == "E") {
        std::string hex;
        for (int v : s.data().events)
            hex += "0123456789abcdef"[v];
        return hex.substr(0, hex.find_last_not_of('0') + 1);
    }
    const EventRange r = s.selectedEvents();
    const std::map<std::string, std::string> values{
        {"L", std::to_string(s.lastEvent() + 1)},
        {"S", s.hasSelection() ? std::to_string(r.first + 1) + "-" + std::to_string(r.end()) : "-"},
        {"C", std::to_string(s.cursorLed() + 1) + "," + std::to_string(s.cursorSlot() + 1)},
        {"U", s.undoText()},
        {"R", s.redoText()},
        {"M", s.isModified() ? "1" : "0"},
        {"D", std::to_string(s.sequencerDelay()) + "," + std::to_string(s.testSpeed())},
        {"K", std::to_string(s.colourIndex(0)) + std::to_string(s.servoMode(0))},
        {"F", s.filePath() + "|" + s.sequenceName()},
        {"status", last.status},
        {"copied", std::to_string(last.copiedEvents.size())},
        {"refused", last.refusal.substr(0, last.refusal.find(". ") + 1)}};
    return values.at(key);
}

std::vector<GridCell> cellsOf(std::istringstream& in)
{
    std::vector<GridCell> cells;
    for (int led, slot; in >> led >> slot;)
        cells.push_back({led - 1, slot - 1});
    return cells;
}

// One action of a user's, as a window turns it into a session call.
CommandResult act(EditSession& s, const std::string& action)
{
    std::istringstream in(action);
    std::string verb;
    int a = 0, b = 0;
    in >> verb >> a >> b;
    const bool shift = verb.starts_with("S-");
    const std::string key = shift ? verb.substr(2) : verb;
    using Move = EditSession::Move;
    const std::map<std::string, Move> moves{{"Left", Move::Left}, {"Right", Move::Right},
                                            {"Up", Move::Up},     {"Down", Move::Down},
                                            {"Home", Move::Home}, {"End", Move::End}};
    if (moves.contains(key))
        s.moveCursor(moves.at(key), shift);
    else if (verb == "click")
        s.clickCell(a - 1, b - 1, !s.cell(a - 1, b - 1));
    else if (verb == "ruler" || verb == "S-ruler")
        s.pressRuler(a - 1, shift);
    else if (verb == "drag")
        s.dragRuler(a - 1);
    else if (verb == "dbl")
        s.setLastEvent(a - 1);
    else if (verb == "Esc")
        s.endSelection();
    else if (verb == "row") {
        int partner = 0;
        s.applyRowOperation(a - 1, RowOperation(b), in >> partner ? partner - 1 : -1);
    } else if (verb == "colour")
        s.setColour(a - 1, b);
    else if (verb == "servo")
        s.setServoMode(a - 1, b);
    else if (verb == "settings")
        s.applySettings(a, b);
    else if (verb == "paint") { // LED and event of the press, then the cells passed
        s.placeCursor(a - 1, b - 1);
        s.beginPaint();
        s.paintCells(cellsOf(in), b - 1);
        if (s.canUndo())
            return {"undo during a drag", {}, {}, false};
        s.endPaint();
    } else if (verb == "paste") {
        std::string text = action.substr(6);
        std::replace(text.begin(), text.end(), '|', '\n');
        return s.pasteText(text);
    } else if (verb == "new")
        s.newSequence();
    else if (verb == "open" || verb == "merge" || verb == "pattern") {
        SequenceData file;
        file.events = {a, b};
        file.colourIndexes[0] = 3;
        file.servoModes[0] = 4;
        file.sequencerDelay = 90;
        const std::string bytes = sequenceFileBytes(file);
        if (verb == "pattern")
            return {s.openPattern(bytes, "Police"), {}, {}, false};
        return {{}, s.open(bytes, "/d/X.DAT", "/d/X.DAT", verb == "merge"), {}, false};
    } else if (verb == "bad")
        return {{}, s.open("\"16\"\r\n", "/d/B.DAT", "/d/B.DAT", false), {}, false};
    else if (verb == "saved")
        s.saved("/d/S.DAT");
    else if (verb == "undo")
        s.undo();
    else if (verb == "redo")
        s.redo();
    else
        return s.run(verb);
    return {};
}

struct Case
{
    const char* script; // actions split by ';'
    const char* expect; // key=value, split by ';'
};

// Start: all off, the cursor on LED 1 at event 1, no selection, last event 50.
const Case kCases[] = {
    // a move without Shift ends the selection; commands take the cursor's event then
    {"click 1 1;click 1 2;click 1 3;click 1 4;Home;S-Right;Right;Right;MENUclearevents",
     "E=111;S=-;C=1,4;U=&Undo Clear Events"},
    {"S-End", "S=1-50;C=1,50"},
    {"End;S-Home;S-Down", "S=1-50;C=2,1"},
    {"S-Down", "S=-;C=2,1"},
    {"Right;S-Right;S-Left;S-Left", "S=1-2;C=1,1"},
    {"S-Right;Esc", "S=-;C=1,2"},
    {"MENUselectall", "S=1-50;C=1,50"},
    {"ruler 5;drag 8", "S=5-8;C=1,8"},
    {"ruler 5;drag 5", "S=-"},
    {"Right;Right;S-ruler 7;S-ruler 1", "S=1-3;C=1,1"},
    // without a selection Reverse takes events 1 to the last event
    {"click 1 1;click 2 2;dbl 3;MENUreverse", "E=021;L=3;U=&Undo Reverse Events"},
    {"click 1 1;click 2 2;Home;S-Right;MENUreverse", "E=21"},
    {"click 1 1;Right;Right;MENUlastevent", "L=3;U=&Undo Set Last Event"},
    // cut, copy, paste and their texts
    {"click 1 1;click 2 2;click 3 3;Home;S-Right;MENUcut",
     "E=4;S=-;C=3,1;copied=2;status=Cut events 1 to 2.;U=&Undo Cut Events"},
    {"click 1 2;MENUcopy", "copied=1;status=Copied event 2.;M=1"},
    {"End;paste ####|....|....|....",
     "E=00000000000000000000000000000000000000000000000001;U=&Undo Paste Events;"
     "status=Pasted event 50. 3 more ran past event 50 and were dropped."},
    {"click 1 3;paste #.x",
     "E=001;refused=The clipboard holds no events to paste.;U=&Undo Cell Click"},
    {"click 1 1;click 1 2;MENUinsertevent", "E=101;S=-;C=1,2;U=&Undo Insert Event"},
    {"click 1 1;click 1 2;dbl 3;Home;S-Right;MENUdeleteevents", "E=;L=1;U=&Undo Delete Events"},
    {"click 1 1;dbl 3;MENUrotateleft", "E=001;U=&Undo Rotate Left"},
    // the row tools, colours, servo modes and a drag: one named step each
    {"dbl 11;row 1 5", "E=10101010101;U=&Undo Skip 1"},
    {"click 1 2;dbl 3;row 1 2", "E=101;U=&Undo Toggle All"},
    {"click 2 4;row 2 4 1", "E=0003;U=&Undo Copy to LED#1"},
    {"click 2 4;row 2 3 2", "E=0002;U=&Undo Cell Click"},
    {"colour 1 3;servo 1 4", "K=34;U=&Undo Servo Mode of LED#1"},
    {"click 1 1;paint 1 1 1 2 1 3 2 2", "E=111;U=&Undo Paint Cells"},
    {"click 1 1;paint 1 2 1 1", "E=;U=&Undo Paint Cells"},
    // Settings OK is no step: Undo takes the edit before it, the timing stays
    {"click 1 1;settings 99 7;undo", "E=;D=99,7;M=1;R=&Redo Cell Click"},
    {"settings 99 7;saved;undo", "M=0;U=&Undo"},
    // the saved point, and a state out of reach once history moved on
    {"click 1 1;saved;undo;redo", "M=0;F=/d/S.DAT|S.DAT"},
    {"click 1 1;saved;undo;click 2 2;undo", "E=;M=1"},
    // files: Open, Merge, New and a pattern are steps; a refused file changes nothing
    {"click 4 9;open 1 2", "E=12;K=34;D=90,20;M=0;U=&Undo Open X.DAT;F=/d/X.DAT|X.DAT"},
    {"open 1 2;undo", "E=;K=715;D=30,20;F=|the new sequence"},
    {"click 2 1;merge 1 4", "E=34;K=74;M=1;U=&Undo Merge X.DAT"},
    {"open 1 2;settings 40 9;new",
     "E=;K=715;D=40,9;M=0;F=/d/X.DAT|the new sequence;U=&Undo New/Clear"},
    {"click 1 1;pattern 4 4", "E=44;M=1;U=&Undo Pattern Police;F=|the new sequence"},
    {"click 1 1;bad",
     "E=1;refused=The file /d/B.DAT is not a valid sequence data file.;U=&Undo Cell Click"},
    // a link pasted: the whole sequence in one step, untitled; a damaged one changes nothing
    {"open 1 2;paste "
     "https://example.org/g/#g1UvAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAABd3Af8CHhQAAAAAAAAAAHIW",
     "E=52f;L=3;K=10;D=30,20;M=1;U=&Undo Open Link;F=|the new sequence"},
    {"click 1 1;saved;click 2 2;paste "
     "#g1UvAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAABd3Af8CHhQAAAAAAAAAAHIW;undo",
     "E=12;M=1;F=/d/S.DAT|S.DAT"},
    {"click 1 3;paste #g1UvAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAABd3Af8CHhQAAAAAAAAAAHI",
     "E=001;U=&Undo Cell Click;refused=The link could not be opened, as it has 55 characters of "
     "sequence where 56 belong, so part of it is missing or extra."},
    {"paste https://example.org/#gallery", "refused=The clipboard holds no events to paste."},
};

// The drag's rules on 10-pixel cells, rows 20 apart: a path of "x,y" points (press, moves,
// release), the cells it passes over and those the release fills.
void dragPaintsOnlyThePointersPath()
{
    const char* const rows[][3] = {
        {"205,5 205,-10 55,-10 55,5 55,-10", "0:20 0:5 0:5", ""},    // off the grid and back
        {"105,5 105,10 305,10 305,25 305,10", "0:10 1:30 1:30", ""}, // along a gap
        {"175,5 205,5", "0:17 0:18 0:19 0:20", "0:18 0:19 0:20"},
        {"125,5 95,5", "0:12 0:11 0:10 0:9", ""}, // left: no fill
        {"5,5 45,65", "0:0 1:1 1:2 2:2 2:3 3:4", "3:1 3:2 3:3 3:4"},
        {"495,65 495,5", "3:49 2:49 1:49 0:49", ""},
        {"485,5 900,5", "0:48 0:49", ""}, // past the end
        {"105,5 109,9", "0:10", ""}};     // a click
    const auto text = [](const std::vector<GridCell>& cells) {
        std::string out;
        for (const GridCell& c : cells)
            out.append(out.empty() ? "" : " ")
                .append(std::to_string(c.led))
                .append(":")
                .append(std::to_string(c.slot));
        return out;
    };
    for (const auto& [path, crossed, filled] : rows) {
        std::vector<GridPoint> points;
        std::istringstream in(path);
        for (int x, y; in >> x && in.ignore() && in >> y;)
            points.push_back({x, y});
        DragPaint drag(GridGeometry{0, 10, 10, {0, 20, 40, 60}});
        std::vector<GridCell> passed;
        const bool pressed = !drag.press({5, 15}) && drag.press(points.front()); // the gap: none
        for (size_t k = 1; k < points.size(); ++k)
            for (const GridCell& c : drag.moveTo(points[k]))
                passed.push_back(c);
        const std::string got = text(passed), fill = text(drag.release(points.back()));
        if (!pressed || got != crossed || fill != filled || drag.isClick() != (got == "0:10") ||
            drag.startSlot() != points.front().x / 10)
            ++failures, std::fprintf(stderr, "FAIL: drag %s: %s, fill %s\n", path, got.c_str(),
                                     fill.c_str());
    }
}

} // namespace

int main()
{
    dragPaintsOnlyThePointersPath();
    for (const Case& c : kCases) {
        EditSession session;
        CommandResult last;
        std::istringstream script(c.script);
        for (std::string action; std::getline(script, action, ';');)
            last = act(session, action);
        std::istringstream expect(c.expect);
        for (std::string item; std::getline(expect, item, ';');) {
            const std::string key = item.substr(0, item.find('='));
            const std::string got = shown(session, last, key);
            if (got != item.substr(key.size() + 1)) {
                ++failures;
                std::fprintf(stderr, "FAIL: %s\n  %s, got %s\n", c.script, item.c_str(),
                             got.c_str());
            }
        }
        // Every step undoes to what was before it and redoes to what it made.
        const SequenceData after = session.data();
        if (session.canUndo()) {
            session.undo();
            session.redo();
            if (session.data() != after)
                ++failures, std::fprintf(stderr, "FAIL: undo, redo: %s\n", c.script);
        }
    }
    std::printf("%d cases, %d failures\n", int(std::size(kCases)), failures);
    return failures == 0 ? 0 : 1;
}

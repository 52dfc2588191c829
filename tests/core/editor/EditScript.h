// Plays a string of bytes as a user's session with the names editor: options, a starting text,
// then keys, commands, selections, mouse clicks, clipboard traffic, macros and host hooks. The
// undo property test, its fuzz target and its benchmark all speak this one language, so a fault
// the fuzzer finds replays as a test from the same bytes.
#pragma once

#include "core/editor/Clipboard.h"
#include "core/editor/CustomTextEditor.h"
#include "core/editor/EditorCommands.h"
#include "core/editor/VirtualKeys.h"
#include "core/platform/Utf8.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::editor::test {

// Reads bytes one at a time; past the end it yields zeros and reports Done.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Done() const { return pos_ >= size_; }
    std::uint8_t Next() { return Done() ? 0 : data_[pos_++]; }
    // A number in 0..n-1 (0 for n <= 1).
    int Below(int n) {
        if (n <= 1) {
            Next();
            return 0;
        }
        const int v = Next() | (Next() << 8);
        return v % n;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// A clipboard that other programs also write to. It keeps at most Limit characters, so that
// doubling the text by copy and paste cannot make one input run for minutes.
class ScriptClipboard : public Clipboard {
public:
    static constexpr std::size_t Limit = 600;
    std::u32string GetText() override { return text; }
    void SetText(const std::u32string& t) override { text = t.substr(0, Limit); }
    std::u32string text;
};

// The three options the property is checked under, as bits of a number 0..7.
struct CaretOptions {
    bool WordWrap = false;
    bool BeyondEof = false;
    bool BeyondEol = false;
    static CaretOptions FromBits(int bits) {
        return {(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
    }
};

class EditScript {
public:
    // Longer texts end the session: every action then stays quick.
    static constexpr int TextLimit = 6000;
    static constexpr int ActionLimit = 400;
    static constexpr std::size_t MacroLimit = 48; // bytes: 24 commands

    // With a trace, every action adds a line saying what it did.
    EditScript(CustomTextEditor& ed, ScriptClipboard& clip,
               std::vector<std::string>* trace = nullptr)
        : ed_(ed), clip_(clip), trace_(trace) {}

    // Sets the options (the caret options from the caller, the rest from the bytes), loads the
    // starting text and returns it as the editor holds it.
    std::string Start(CaretOptions caret, ByteReader& in) {
        ed_.SetClipboard(&clip_);
        ed_.SetWordWrap(caret.WordWrap);
        ed_.CursorBeyondEOF = caret.BeyondEof;
        ed_.CursorBeyondEOL = caret.BeyondEol;
        const std::uint8_t o = in.Next();
        ed_.SmartTab = (o & 1) != 0;
        ed_.BackspaceUnindents = (o & 2) != 0;
        ed_.AutoIndent = (o & 4) != 0;
        ed_.SmartAutoIndent = (o & 8) != 0;
        ed_.SimpleBeginLine = (o & 16) != 0;
        ed_.SetInsertMode((o & 32) == 0);
        ed_.TabSize = in.Below(9);
        ed_.IndentSize = in.Below(7);
        ed_.AutoIndentSize = in.Below(5);
        const std::uint8_t hooks = in.Next();
        SetHooks(hooks);
        ed_.Lines().SetTextStr(platform::EncodeUtf8(StartText(in)));
        Note("options " + std::to_string(o) + " tab " + std::to_string(ed_.TabSize) + " indent " +
             std::to_string(ed_.IndentSize) + " auto " + std::to_string(ed_.AutoIndentSize) +
             " hooks " + std::to_string(hooks) + " text " + Quoted(ed_.Text32()));
        return ed_.Text();
    }

    // Runs actions until the bytes, the action limit or the text limit run out.
    void Play(ByteReader& in) {
        for (int n = 0; n < ActionLimit && !in.Done(); ++n) {
            Action(in);
            ed_.RunPostedCommands();
            if (ed_.Lines().TextLength() > TextLimit) break;
            // Short macros: playing one stays quick however often it is played.
            if (ed_.Recording() && ed_.RecordBuffer().size() >= MacroLimit) {
                Note("record");
                ed_.ExecuteCommand(cmdRecordMacro);
            }
        }
        // A macro still recording stops, as when the window closes.
        if (ed_.Recording()) ed_.ExecuteCommand(cmdRecordMacro);
    }

    // Undoes step after step until nothing is left; false if the history never runs out.
    static bool UndoAll(CustomTextEditor& ed) {
        for (int guard = ed.UndoList().Count() + 1; guard > 0; --guard) {
            if (ed.UndoList().UndoPosition < 0) return true;
            ed.ExecuteCommand(cmdUndo);
        }
        return ed.UndoList().UndoPosition < 0;
    }

private:
    // Letters, blanks, word separators, a Latin-1 letter and one beyond it.
    static char32_t Letter(std::uint8_t b) {
        static constexpr std::array<char32_t, 16> letters = {U'a', U'b', U'X', U' ', U' ', U'.',
                                                             U'-', U'(', U'1', U'_', U'é', U'ж',
                                                             U'k', U'/', U'Q', U' '};
        return letters[b % letters.size()];
    }

    std::u32string Word(ByteReader& in, int maxLength) {
        std::u32string s;
        const int n = in.Below(maxLength + 1);
        for (int i = 0; i < n; ++i)
            s += Letter(in.Next());
        return s;
    }

    // Up to six paragraphs; some long enough to wrap, some indented, some holding a tab.
    std::u32string StartText(ByteReader& in) {
        std::u32string text;
        const int paragraphs = in.Below(7);
        for (int p = 0; p < paragraphs; ++p) {
            const std::uint8_t kind = in.Next();
            if (kind % 5 == 1) text += std::u32string(static_cast<std::size_t>(in.Below(9)), U' ');
            if (kind % 5 == 2) {
                // Long runs of one letter with a blank now and then: rows that wrap.
                const int n = 60 + in.Below(140);
                for (int i = 0; i < n; ++i)
                    text += (i % 23 == 22) ? U' ' : Letter(static_cast<std::uint8_t>(kind));
            } else {
                text += Word(in, 12);
            }
            if (kind % 7 == 3) text += U'\t';
            text += U"\r\n";
        }
        return text;
    }

    // Host hooks, each on when its bit is set; each changes text the way a host might.
    void SetHooks(std::uint8_t bits) {
        if (bits & 1)
            ed_.OnBreakLine = [](CustomTextEditor&, const std::u32string&, std::u32string& rest) {
                if (!rest.empty() && rest[0] == U'a') rest = U"A" + rest;
            };
        if (bits & 2)
            ed_.OnConcatLine = [](CustomTextEditor&, const std::u32string&, std::u32string& next) {
                next.erase(0, std::min(next.find_first_not_of(U' '), next.size()));
            };
        if (bits & 4)
            ed_.OnInsertMacro = [](CustomTextEditor&, int id) {
                return id % 3 == 0 ? std::u32string()
                                   : std::u32string(U"m\n\t") + char32_t(U'a' + id);
            };
        if (bits & 8)
            ed_.OnBlockOperation = [](CustomTextEditor&, int id, const std::u32string& text) {
                std::u32string r(text.rbegin(), text.rend());
                return id % 2 == 0 ? r : std::u32string();
            };
        if (bits & 16)
            ed_.OnInsertBlock = [](CustomTextEditor&, std::u32string& text) {
                text = U"block\r\nrow";
                return true;
            };
        if (bits & 32)
            ed_.OnTextInsert = [](CustomTextEditor&, std::u32string& text) {
                if (!text.empty() && text[0] == U'b') text.insert(0, U"<");
            };
    }

    // What pressing a key with a shift state types, if anything.
    static char32_t KeyCharacter(std::uint16_t key, ShiftState shift) {
        if (shift & ssAlt) return 0;
        const bool ctrl = (shift & ssCtrl) != 0;
        if (key >= vkA && key <= vkA + 25) {
            if (ctrl) return key - vkA + 1;
            return (shift & ssShift) ? key : key + 32;
        }
        if (key >= vk0 && key <= vk0 + 9) return ctrl ? 0 : ((shift & ssShift) ? U'!' : key);
        switch (key) {
        case vkSpace:
            return U' ';
        case vkEnter:
            return ctrl ? 10 : 13;
        case vkBackspace:
            return ctrl ? 127 : 8;
        case vkTab:
            return ctrl ? 0 : 9;
        default:
            return 0;
        }
    }

    void Key(ByteReader& in) {
        static constexpr std::array<std::uint16_t, 17> keys = {
            vkBackspace, vkTab,   vkEnter, vkSpace,  vkPageUp, vkPageDown, vkEnd,   vkHome, vkLeft,
            vkUp,        vkRight, vkDown,  vkInsert, vkDelete, vk0 + 3,    vk0 + 7, vkShift};
        const std::uint8_t b = in.Next();
        std::uint16_t key = b < 170 ? keys[b % keys.size()] : std::uint16_t(vkA + b % 26);
        const auto shift = static_cast<ShiftState>(in.Next() & 7);
        const char32_t ch = KeyCharacter(key, shift);
        Note("key " + std::to_string(key) + " shift " + std::to_string(shift) +
             (ch != 0 ? " char " + std::to_string(ch) : std::string()));
        ed_.KeyDown(key, shift);
        if (ch != 0) ed_.KeyPress(ch);
    }

    // Every command a key or the window can run. Group and update brackets come only paired,
    // from the commands that use them; redo is bound to nothing (and refuses).
    static std::uint16_t CommandCode(int i) {
        static const std::vector<std::uint16_t> codes = [] {
            std::vector<std::uint16_t> c;
            for (int code = cmdLeft; code <= cmdScrollPageDown; ++code) {
                if (code >= cmdRedo && code <= cmdEndUpdate) continue;
                if ((code > cmdDown && code < cmdSelLeft) ||
                    (code > cmdScrollLineDown && code < cmdNewLine) || code == 365 || code == 366 ||
                    code == 406 || code == 407)
                    continue;
                // The numbered families are many; a few of each are enough.
                if (code > cmdInsertMacro0 + 3 && code <= cmdInsertMacro35) continue;
                if (code > cmdBlockOperation0 + 3 && code <= cmdBlockOperation25) continue;
                c.push_back(static_cast<std::uint16_t>(code));
            }
            return c;
        }();
        return codes[static_cast<std::size_t>(i) % codes.size()];
    }

    // A mouse click on a cell: the same calls, in the same order, as the widget's button press.
    void Click(ByteReader& in, bool shift) {
        int row = in.Below(ed_.Lines().RowCount() + 2);
        row = std::min(row, std::max(ed_.Lines().RowCount() - 1, 0));
        int col = std::min(in.Below(100), ed_.LastVisibleCol());
        if (!shift) ed_.Deselect();
        if (ed_.IsRowValid(row) && !ed_.CursorBeyondEOL)
            col = std::min(col, static_cast<int>(ed_.Lines().GetRow(row).size()));
        if (shift && !ed_.Selected()) ed_.ExtendSelection(ed_.CaretX(), ed_.CaretY());
        ed_.SetCaret(col, row);
        if (shift) ed_.ExtendSelection(col, row);
        Note((shift ? "shift-click " : "click ") + std::to_string(col) + "," + std::to_string(row));
    }

    void Note(const std::string& what) {
        if (trace_ != nullptr) trace_->push_back(what);
    }
    static std::string Quoted(const std::u32string& s) {
        return '"' + platform::EncodeUtf8(s) + '"';
    }

    void Action(ByteReader& in) {
        const std::uint8_t op = in.Next();
        switch (op % 16) {
        case 0:
        case 1:
        case 2: {
            const char32_t c = Letter(in.Next());
            ed_.TypeChar(c);
            Note("type " + Quoted(std::u32string(1, c)));
            break;
        }
        case 3:
        case 4:
        case 5:
            Key(in);
            break;
        case 6:
        case 7:
        case 8: {
            const std::uint16_t code = CommandCode(in.Next());
            Note("command " + std::to_string(code));
            ed_.ExecuteCommand(code);
            break;
        }
        case 9: {
            // Find selects an occurrence by offsets.
            const int length = ed_.Lines().TextLength();
            const int start = in.Below(length + 2);
            const int count = in.Below(std::min(length - start, 40) + 2);
            ed_.SetSelStart(start + 1);
            ed_.SetSelLength(count);
            Note("SelStart " + std::to_string(start + 1) + " SelLength " + std::to_string(count));
            // What the user does with an occurrence found.
            const std::uint8_t then = in.Next() % 4;
            if (then == 0) {
                Note("command " + std::to_string(cmdCut));
                ed_.ExecuteCommand(cmdCut);
            } else if (then == 1) {
                Note("command " + std::to_string(cmdDeleteSelection));
                ed_.ExecuteCommand(cmdDeleteSelection);
            }
            break;
        }
        case 10: {
            // Replace, Delete of the menu and the case commands write SelText.
            const std::u32string text = Word(in, 6);
            if (ed_.Selected()) {
                ed_.ReplaceSelection(text);
                Note("SelText " + Quoted(text));
            }
            break;
        }
        case 11:
            Click(in, (op & 0x80) != 0);
            break;
        case 12: {
            // Another program puts text on the clipboard.
            std::u32string s = Word(in, 8);
            if (op & 0x40) s += U"\n" + Word(in, 4);
            if (op & 0x80) s += U"\t" + Word(in, 3);
            clip_.SetText(s);
            Note("clipboard " + Quoted(s));
            break;
        }
        case 13:
            Note(op & 0x80 ? "record" : "play");
            ed_.ExecuteCommand(op & 0x80 ? cmdRecordMacro : cmdPlayMacro);
            break;
        case 14:
            Note("undo");
            ed_.ExecuteCommand(cmdUndo);
            break;
        default:
            Note(op & 0x80 ? "word right" : "word left");
            ed_.ExecuteCommand(op & 0x80 ? cmdWordRight : cmdWordLeft);
            break;
        }
    }

    CustomTextEditor& ed_;
    ScriptClipboard& clip_;
    std::vector<std::string>* trace_ = nullptr;
};

} // namespace velmora::editor::test

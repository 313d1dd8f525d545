// Every command of the window as plain data: its name, text, keys and tooltip, where it acts and
// what it runs. The Qt window builds its buttons, tree keys, node menu and window menu from this
// table, and so does the browser face; neither spells a command itself.
#pragma once

#include "item_tag.h"

#include <span>

namespace korvel::ui {

class Workbench;

enum class CommandId {
    open,
    save,
    newDump,
    remove,
    rename,
    undo,
    redo,
    receive,
    send,
    memLayout,
    copyLeftToRight,
    copyRightToLeft,
    copyToOther,
    compare,
    nextDifference,
    previousDifference,
    checkW2,
    midiSetup,
    about,
};

enum class CommandScope {
    paneButton,  // a button of each pane, acting on its pane
    pane,        // no button: acts on a pane from its tree's keys or its node menu
    window,      // one for the window: a button between the panes, or its menu
};

struct Command {
    CommandId id;
    // A pane command's name after its side ("leftOpen"), a window command's widget alone
    // ("leftToRight"); the form's widgets carry these names.
    const char* name;
    const char* text;  // on its button and in menus
    // Its keys, as Qt's portable text spells them, several apart by "; ": "Ctrl+Shift+Z; Ctrl+Y".
    const char* keys;
    // The tooltip before its keys; "%1" is the side in small letters. Empty for none; Undo and
    // Redo describe their next step instead.
    const char* tooltip;
    CommandScope scope;
    bool treeKeys;    // its keys act while a pane's tree has the focus
    bool nodeMenu;    // offered on a node's menu
    bool windowMenu;  // offered on the window's menu
    void (*run)(Workbench& bench, int pane);
    // What a screen reader calls a window command's button ("Copy left to right"); a pane
    // button is called by its side and text ("Left Open").
    const char* accessibleName = nullptr;
};

std::span<const Command> Commands();
const Command& CommandOf(CommandId id);

// Whether the command applies to the selected node: Rename only to banks, the others to any.
bool AppliesTo(const Command& command, ItemTag selected);
// Whether the command talks to MIDI ports; the browser asks for them only then.
bool UsesMidi(CommandId id);

}  // namespace korvel::ui

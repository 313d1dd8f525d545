#include "commands.h"

#include "edits.h"

#include "workbench.h"

#include <algorithm>

namespace korvel::ui {

namespace {

using Scope = CommandScope;

constexpr Command kCommands[] = {
    {CommandId::copyToOther, "CopyToOther", "Copy to the other dump", "", "", Scope::pane, false,
     true, false,
     [](Workbench& bench, int pane) { bench.Edits().OnTransfer(pane, OtherPane(pane)); }},
    {CommandId::open, "Open", "Open", "Ctrl+O", "Open a dump into the %1 pane", Scope::paneButton,
     true, false, false, [](Workbench& bench, int pane) { bench.Files().OnOpen(pane); }},
    {CommandId::save, "Save", "Save", "Ctrl+S", "Save the %1 dump", Scope::paneButton, true, false,
     false, [](Workbench& bench, int pane) { bench.Files().OnSave(pane); }},
    {CommandId::newDump, "New", "New", "", "", Scope::paneButton, false, false, false,
     [](Workbench& bench, int pane) { bench.Files().OnNew(pane); }},
    {CommandId::remove, "Delete", "Delete", "Del", "Delete the selected material",
     Scope::paneButton, true, true, false,
     [](Workbench& bench, int pane) { bench.Edits().OnDelete(pane); }},
    {CommandId::rename, "Rename", "Rename", "F2", "Rename the selected bank", Scope::paneButton,
     true, true, false, [](Workbench& bench, int pane) { bench.Edits().OnRename(pane); }},
    {CommandId::undo, "Undo", "Undo", "Ctrl+Z", "", Scope::paneButton, false, false, false,
     [](Workbench& bench, int pane) { bench.Edits().OnUndo(pane); }},
    {CommandId::redo, "Redo", "Redo", "Ctrl+Shift+Z; Ctrl+Y", "", Scope::paneButton, false, false,
     false, [](Workbench& bench, int pane) { bench.Edits().OnRedo(pane); }},
    {CommandId::receive, "Receive", "Receive", "", "", Scope::paneButton, false, false, false,
     [](Workbench& bench, int pane) { bench.Link().OnReceive(pane); }},
    {CommandId::send, "Send", "Send", "", "", Scope::paneButton, false, false, false,
     [](Workbench& bench, int pane) { bench.Link().OnSend(pane); }},
    {CommandId::memLayout, "MemLayout", "MemLayout", "", "", Scope::paneButton, false, false, false,
     [](Workbench& bench, int pane) { bench.Edits().OnMemLayout(pane); }},
    {CommandId::copyLeftToRight, "leftToRight", "-->", "Ctrl+Right",
     "Copy the left selection onto the right one", Scope::window, true, false, false,
     [](Workbench& bench, int) { bench.Edits().OnTransfer(kLeftPane, kRightPane); },
     "Copy left to right"},
    {CommandId::copyRightToLeft, "rightToLeft", "<--", "Ctrl+Left",
     "Copy the right selection onto the left one", Scope::window, true, false, false,
     [](Workbench& bench, int) { bench.Edits().OnTransfer(kRightPane, kLeftPane); },
     "Copy right to left"},
    {CommandId::checkW2, "Check", "Check the W2 against this dump...", "", "", Scope::pane, false,
     true, false, [](Workbench& bench, int pane) { bench.Link().OnCheck(pane); }},
    {CommandId::compare, "compareButton", "Compare", "Ctrl+D",
     "Show what differs between the two dumps", Scope::window, false, false, false,
     [](Workbench& bench, int) { bench.Compare().OnCompare(!bench.Compare().IsComparing()); },
     "Compare"},
    {CommandId::nextDifference, "NextDifference", "Next difference", "F8", "", Scope::pane, true,
     false, false,
     [](Workbench& bench, int pane) { bench.Compare().OnNextDifference(pane, true); }},
    {CommandId::previousDifference, "PreviousDifference", "Previous difference", "Shift+F8", "",
     Scope::pane, true, false, false,
     [](Workbench& bench, int pane) { bench.Compare().OnNextDifference(pane, false); }},
    {CommandId::midiSetup, "midiSetup", "MIDI Setup...", "", "", Scope::window, false, false, true,
     [](Workbench& bench, int) { (void)bench.Link().OnMidiSetup(); }},
    {CommandId::about, "about", "&About Korvel...", "F1", "", Scope::window, false, true, true,
     [](Workbench& bench, int) { bench.ShowAbout(); }},
};

}  // namespace

std::span<const Command> Commands() {
    return kCommands;
}

const Command& CommandOf(CommandId id) {
    return *std::find_if(std::begin(kCommands), std::end(kCommands),
                         [id](const Command& command) { return command.id == id; });
}

bool AppliesTo(const Command& command, ItemTag selected) {
    return command.id != CommandId::rename || CanRename(SplitItemTag(selected));
}

bool UsesMidi(CommandId id) {
    return id == CommandId::receive || id == CommandId::send || id == CommandId::checkW2 ||
           id == CommandId::midiSetup;
}

}  // namespace korvel::ui

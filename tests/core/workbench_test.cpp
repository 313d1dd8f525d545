#include "dump_builder.h"
#include "image_slots.h"
#include "edits.h"
#include "temp_dir.h"

#include "workbench.h"
#include "messages.h"

#include "fake_host.h"
#include "session.h"

#include <gtest/gtest.h>

#include <set>

#include <filesystem>

namespace korvel::ui {
namespace {

using korvel::testing::Bytes;
using korvel::testing::ReadFile;
using korvel::testing::ReadText;
using korvel::testing::WriteFile;
using testing::FakeHost;
using testing::MemorySettings;
using testing::Message;
using testing::Session;

TEST_F(Session, StartsWithTwoEmptyTwelveBankPanes) {
    EXPECT_EQ(host.rebuilds[0], 1);
    EXPECT_EQ(host.rebuilds[1], 1);
    EXPECT_EQ(CountNodes(dialog.tree(0)), 504u);
    EXPECT_EQ(dialog.pane(0).folder, "");
    dialog.End(settings);
    EXPECT_EQ(settings.writeOrder,
              (std::vector<std::string>{"Directory Left", "Directory Right", "MemoryLayout Left",
                                        "MemoryLayout Right", "Input Port", "Output Port",
                                        "Message Pause", "Receive Idle", "Backup Before Send"}));
    EXPECT_EQ(settings.GetInt("Settings", "MemoryLayout Left", -5), 2);
    EXPECT_EQ(settings.GetString("Directories", "Directory Right", "?"), "");
    EXPECT_EQ(settings.GetString("MIDI", "Message Pause", "?"), "60");
    EXPECT_EQ(settings.GetString("MIDI", "Receive Idle", "?"), "2000");
    EXPECT_EQ(settings.GetString("MIDI", "Backup Before Send", "?"), "1");
}

TEST(StartSettings, StoredValuesApplyAndOthersAreIgnored) {
    for (const auto& [stored, banks, written] :
         {std::tuple{"0", 3u, "0"}, std::tuple{"1", 6u, "1"}, std::tuple{"2", 12u, "2"},
          std::tuple{"7", 12u, "2"}, std::tuple{"12", 12u, "2"}, std::tuple{"-1", 12u, "2"}}) {
        FakeHost host;
        MemorySettings settings;
        settings.values[{"Settings", "MemoryLayout Right"}] = stored;
        settings.values[{"Directories", "Directory Left"}] = "D:\\dumps";
        Workbench dialog(host);
        dialog.Start(settings);
        EXPECT_EQ(dialog.tree(1).size(), banks) << stored;
        EXPECT_EQ(dialog.pane(0).folder, "D:\\dumps");
        dialog.End(settings);
        EXPECT_EQ(settings.GetString("Settings", "MemoryLayout Right", "?"), written);
        EXPECT_EQ(settings.GetString("Directories", "Directory Left", "?"), "D:\\dumps");
    }
}

TEST_F(Session, OpenReadsNamesSetsFolderAndResetsTheLayout) {
    host.layoutAnswers.push_back(0);
    dialog.Run(CommandId::memLayout, 0);
    ASSERT_EQ(dialog.tree(0).size(), 3u);
    const std::string path =
        Dump("set1.syx", korvel::testing::FullDump(), "01 Drums\r\n\r\n03 Bass\r\n");
    Open(0, path);
    EXPECT_EQ(host.openFolders.back(), "");
    EXPECT_EQ(dialog.tree(0).size(), 12u);
    EXPECT_EQ(dialog.tree(0)[0].text, "01 Drums");
    EXPECT_EQ(dialog.tree(0)[1].text, "Bank 02");
    EXPECT_EQ(dialog.tree(0)[2].text, "03 Bass");
    EXPECT_EQ(dialog.tree(0)[0].icon, 8);
    EXPECT_EQ(host.fileNames[0], "set1.syx");
    EXPECT_EQ(dialog.pane(0).folder, dir.path());
    EXPECT_EQ(dialog.pane(1).folder, "");
    // The next Open starts in that folder; the other pane's does not.
    host.openAnswers.push_back(std::nullopt);
    dialog.Run(CommandId::open, 0);
    EXPECT_EQ(host.openFolders.back(), dir.path());
    dialog.End(settings);
    EXPECT_EQ(settings.GetString("Directories", "Directory Left", "?"), dir.path());
    EXPECT_EQ(settings.GetInt("Settings", "MemoryLayout Left", -5), 2);
}

TEST_F(Session, OpeningAnotherDumpLeavesNoOldNames) {
    Open(0, Dump("a.syx", korvel::testing::FullDump(), "01 A\n02 B\n"));
    Open(0, Dump("b.syx", korvel::testing::FullDump()));
    EXPECT_EQ(dialog.tree(0)[0].text, "Bank 01");
    for (const auto& name : dialog.image(0).BankNames()) {
        EXPECT_EQ(name, "");
    }
}

TEST_F(Session, OpenThatFailsLeavesThePaneAsItWas) {
    Open(0, Dump("a.syx", korvel::testing::FullDump()));
    const DumpImage* before = &dialog.image(0);
    const int rebuilds = host.rebuilds[0];
    Open(0, dir.File("vanished.syx"));
    host.openAnswers.push_back(std::nullopt);
    dialog.Run(CommandId::open, 0);
    EXPECT_EQ(&dialog.image(0), before);
    EXPECT_EQ(host.rebuilds[0], rebuilds);
    EXPECT_EQ(host.fileNames[0], "a.syx");
    EXPECT_EQ(dialog.pane(0).folder, dir.path());
    EXPECT_TRUE(host.messages.empty());
}

// Each failed load keeps the pane as it was; some say why, in the caption the kind calls for.
TEST(OpenFailure, KeepsThePaneAndShowsWhatTheKindCallsFor) {
    struct Case {
        LoadStatus status;
        const char* caption;  // null: no message at all
    };
    for (const auto& [status, caption] :
         {Case{LoadStatus::shortRead, "W2"}, Case{LoadStatus::tooLarge, "W2"},
          Case{LoadStatus::noMemory, "Error"}, Case{LoadStatus::notRegular, nullptr}}) {
        FakeHost host;
        MemorySettings settings;
        Workbench dialog(host, [status = status](DumpImage&, const std::string&) {
            LoadResult result;
            result.status = status;
            result.message = "why";
            return result;
        });
        dialog.Start(settings);
        host.openAnswers.push_back("/somewhere/song.syx");
        dialog.Run(CommandId::open, 1);
        if (caption == nullptr) {
            EXPECT_TRUE(host.messages.empty());
        } else {
            EXPECT_EQ(host.messages, (std::vector<Message>{{"why", caption, Severity::error}}));
        }
        EXPECT_EQ(host.rebuilds[1], 1);
        EXPECT_EQ(host.fileNames[1], "");
        EXPECT_EQ(dialog.pane(1).folder, "");
    }
}

TEST_F(Session, OpenReportsSkippedMessages) {
    using namespace korvel::testing;
    Bytes cutOff = PatternMessage(0, 0, 1);
    cutOff.pop_back();
    Open(1, Dump("mixed.syx", Concat({ForeignMessage(), PatternMessage(0, 0, 0),
                                      PatternMessage(0, 0, 0, 30), MessageOfType(4), cutOff})));
    EXPECT_EQ(host.statusLines.back().rfind("Passed over and not saved: 2 messages", 0), 0u);
}

TEST_F(Session, SaveProposesTheNameAndStartsInTheLastFolder) {
    host.saveAnswers.push_back(std::nullopt);
    dialog.Run(CommandId::save, 0);
    EXPECT_EQ(host.saveProposals.back(), (std::pair<std::string, std::string>{"", ""}));
    Open(0, Dump("song.syx", korvel::testing::FullDump()));
    host.saveAnswers.push_back(std::nullopt);
    dialog.Run(CommandId::save, 0);
    EXPECT_EQ(host.saveProposals.back(),
              (std::pair<std::string, std::string>{dir.path(), "song.syx"}));
    host.yesNoAnswers.push_back(true);
    dialog.Run(CommandId::newDump, 0);  // unchanged: no question, so the answer above stays unused
    EXPECT_EQ(host.questions.size(), 0u);
    host.saveAnswers.push_back(std::nullopt);
    dialog.Run(CommandId::save, 0);
    EXPECT_EQ(host.saveProposals.back().second, "");
    EXPECT_EQ(host.fileNames[0], "");
    host.yesNoAnswers.clear();
}

TEST_F(Session, SaveWritesTheDumpAndItsSideFileElsewhere) {
    const std::string opened = Dump("set.syx", korvel::testing::FullDump(4), "01 Old\r\n");
    Open(0, opened);
    Select(0, MakeItemTag(kBankKind, 1));
    host.renameAnswers.push_back("Lead");
    dialog.Run(CommandId::rename, 0);
    std::filesystem::create_directory(dir.File("other"));
    host.saveAnswers.push_back(dir.File("other/new.syx"));
    dialog.Run(CommandId::save, 0);
    EXPECT_EQ(ReadFile(dir.File("other/new.syx")), korvel::testing::FullDump(4));
    EXPECT_EQ(ReadText(dir.File("other/new.bnl")),
              "01 Old\r\n02 Lead\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
    EXPECT_EQ(ReadText(dir.File("set.bnl")), "01 Old\r\n");
    EXPECT_EQ(host.fileNames[0], "new.syx");
    EXPECT_EQ(dialog.pane(0).folder, dir.path());  // Save leaves the Open folder alone
}

TEST_F(Session, FailedSaveSaysWhyAndChangesNothing) {
    const std::string path = Dump("keep.syx", korvel::testing::FullDump(1), "01 Mine\r\n");
    Open(0, path);
    Select(0, MakeItemTag(kPatternKind, 0, 0, 0));
    dialog.Run(CommandId::remove, 0);
    host.saveAnswers.push_back(dir.File("missing-folder/keep.syx"));
    dialog.Run(CommandId::save, 0);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Error");
    EXPECT_NE(host.messages[0].text.find(dir.File("missing-folder/keep.syx")), std::string::npos);
    EXPECT_EQ(host.fileNames[0], "keep.syx");
    EXPECT_EQ(ReadFile(path), korvel::testing::FullDump(1));
    EXPECT_EQ(ReadText(dir.File("keep.bnl")), "01 Mine\r\n");
    EXPECT_TRUE(dialog.IsChanged(0));
}

class Transfers : public Session {
  protected:
    void SetUp() override {
        Session::SetUp();
        Open(0, Dump("left.syx", korvel::testing::FullDump(1)));
        Open(1, Dump("right.syx", Bytes{}));
    }
};

TEST_F(Transfers, NeedBothSelections) {
    Select(0, MakeItemTag(kTrackKind, 0, 0));
    dialog.Edits().OnTransfer(0, 1);
    host.selected[0].reset();
    Select(1, MakeItemTag(kTrackKind, 0, 0));
    dialog.Edits().OnTransfer(0, 1);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.refreshes[1], 0);
    EXPECT_TRUE(dialog.image(1).WriteToBytes().empty());
}

TEST_F(Transfers, DifferentKindsAreRefusedEitherWay) {
    const int kinds[] = {kBankKind, kPlaylistKind, kTrackKind, kPatternKind};
    for (const int a : kinds) {
        for (const int b : kinds) {
            if (a == b) {
                continue;
            }
            Select(0, MakeItemTag(a, 0));
            Select(1, MakeItemTag(b, 0));
            dialog.Edits().OnTransfer(0, 1);
            dialog.Edits().OnTransfer(1, 0);
        }
    }
    ASSERT_EQ(host.messages.size(), 24u);
    for (const auto& message : host.messages) {
        EXPECT_EQ(message, (Message{korvel::kSameKindRefusal, "Error", Severity::error}));
    }
    EXPECT_TRUE(dialog.image(1).WriteToBytes().empty());
}

TEST_F(Transfers, IntoMoreBanksIsRefusedForEveryKind) {
    host.layoutAnswers.push_back(0);
    dialog.Run(CommandId::memLayout, 0);  // left: 3 banks, right: 12
    for (const int kind : {kBankKind, kPlaylistKind, kTrackKind, kPatternKind}) {
        Select(0, MakeItemTag(kind, 0));
        Select(1, MakeItemTag(kind, 0));
        dialog.Edits().OnTransfer(0, 1);
    }
    ASSERT_EQ(host.messages.size(), 4u);
    for (const auto& message : host.messages) {
        EXPECT_EQ(message.caption, "Error");
        EXPECT_EQ(message.text, korvel::kLayoutRefusal);
    }
    // The other way round is allowed.
    Select(0, MakeItemTag(kPlaylistKind, 0));
    Select(1, MakeItemTag(kPlaylistKind, 0));
    host.saveAnswers.clear();
    dialog.Edits().OnTransfer(1, 0);
    EXPECT_EQ(host.messages.size(), 4u);
}

TEST_F(Transfers, TrackCopyRefreshesOnlyTheDestination) {
    Select(0, MakeItemTag(kTrackKind, 4, 1));
    Select(1, MakeItemTag(kTrackKind, 0, 7));
    const int leftRefreshes = host.refreshes[0];
    dialog.Edits().OnTransfer(0, 1);
    EXPECT_EQ(host.refreshes[1], 1);
    EXPECT_EQ(host.refreshes[0], leftRefreshes);
    EXPECT_EQ(dialog.tree(1)[0].children[8].text, "B05 T02");
    EXPECT_EQ(dialog.tree(1)[0].children[8].icon, 10);
    EXPECT_EQ(dialog.tree(1)[0].children[8].children[2].text, "B05 T02 P03");
    EXPECT_EQ(*host.selected[0], MakeItemTag(kTrackKind, 4, 1));
    EXPECT_TRUE(dialog.IsChanged(1));
    EXPECT_FALSE(dialog.IsChanged(0));
}

TEST_F(Transfers, StoppedCopyIsShownAndReported) {
    // Right to left from the empty right dump: nothing to copy.
    Select(0, MakeItemTag(kPatternKind, 0, 0, 0));
    Select(1, MakeItemTag(kPatternKind, 0, 0, 0));
    dialog.Edits().OnTransfer(1, 0);
    EXPECT_EQ(host.statusLines.back(),
              "The copy stopped at an empty source pattern (B01 T01 P01); what was copied before "
              "it stays.");
    EXPECT_FALSE(dialog.IsChanged(0));
    // A bank whose playlists are missing copies its tracks, then stops.
    Open(0, Dump("nolists.syx", [] {
             DumpImage full;
             (void)full.Load(korvel::testing::FullDump(2));
             full.DeletePlaylists(3);
             return full.WriteToBytes();
         }()));
    Select(0, MakeItemTag(kBankKind, 3));
    Select(1, MakeItemTag(kBankKind, 5));
    const int refreshes = host.refreshes[1];
    dialog.Edits().OnTransfer(0, 1);
    EXPECT_EQ(host.refreshes[1], refreshes + 1);
    EXPECT_EQ(dialog.tree(1)[5].icon, 4);
    EXPECT_EQ(dialog.tree(1)[5].children[1].icon, 10);
    EXPECT_EQ(host.statusLines.back(),
              "The copy stopped at an empty source playlist (Playlist B04 #1); what was copied "
              "before it stays.");
    EXPECT_TRUE(dialog.IsChanged(1));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Transfers, DeleteBankClearsItAndItsName) {
    Select(0, MakeItemTag(kBankKind, 2));
    host.renameAnswers.push_back("Keys");
    dialog.Run(CommandId::rename, 0);
    ASSERT_EQ(dialog.tree(0)[2].text, "03 Keys");
    dialog.Run(CommandId::remove, 0);
    const TreeNode& bank = dialog.tree(0)[2];
    EXPECT_EQ(bank.text, "Bank 03");
    EXPECT_EQ(bank.icon, 0);
    EXPECT_EQ(bank.children[0].icon, 1);
    for (int t = 1; t <= 8; ++t) {
        EXPECT_EQ(bank.children[t].icon, 2);
    }
    EXPECT_EQ(dialog.tree(0)[1].icon, 8);
    EXPECT_TRUE(host.questions.empty());
}

TEST_F(Transfers, DeleteWithoutSelectionDoesNothing) {
    const int refreshes = host.refreshes[0];
    dialog.Run(CommandId::remove, 0);
    EXPECT_EQ(host.refreshes[0], refreshes);
    EXPECT_FALSE(dialog.IsChanged(0));
}

TEST_F(Transfers, RenameOnlyBanks) {
    for (const auto tag : {std::optional<ItemTag>{}, std::optional{MakeItemTag(kPlaylistKind, 0)},
                           std::optional{MakeItemTag(kTrackKind, 0, 1)},
                           std::optional{MakeItemTag(kPatternKind, 0, 1, 2)}}) {
        host.selected[0] = tag;
        dialog.Run(CommandId::rename, 0);
    }
    ASSERT_EQ(host.messages.size(), 4u);
    for (const auto& message : host.messages) {
        EXPECT_EQ(message, (Message{korvel::kOnlyBanksRefusal, "Korvel"}));
    }
    EXPECT_TRUE(host.renamePresets.empty());
}

TEST_F(Transfers, RenamePresetsTheVisibleTextAndStoresTheRule) {
    Select(1, MakeItemTag(kBankKind, 2));
    host.renameAnswers.push_back("Drums");
    dialog.Run(CommandId::rename, 1);
    EXPECT_EQ(dialog.image(1).GetBankName(2), "03 Drums");
    host.renameAnswers.push_back("");
    dialog.Run(CommandId::rename, 1);
    EXPECT_EQ(dialog.image(1).GetBankName(2), "Bank 03");
    host.renameAnswers.push_back(std::nullopt);
    dialog.Run(CommandId::rename, 1);
    EXPECT_EQ(host.renamePresets, (std::vector<std::string>{"", "Drums", ""}));
    EXPECT_EQ(dialog.image(1).GetBankName(2), "Bank 03");
    EXPECT_EQ(dialog.tree(1)[2].text, "Bank 03");
}

TEST_F(Transfers, MemLayoutOkRebuildsAndCancelDoesNot) {
    host.layoutAnswers.push_back(1);
    dialog.Run(CommandId::memLayout, 0);
    EXPECT_EQ(host.layoutPresets.back(), 2);
    EXPECT_EQ(dialog.tree(0).size(), 6u);
    const int rebuilds = host.rebuilds[0];
    host.layoutAnswers.push_back(std::nullopt);
    dialog.Run(CommandId::memLayout, 0);
    EXPECT_EQ(host.layoutPresets.back(), 1);
    EXPECT_EQ(host.rebuilds[0], rebuilds);
    host.layoutAnswers.push_back(-1);  // OK with nothing chosen: same layout, rebuilt
    dialog.Run(CommandId::memLayout, 0);
    EXPECT_EQ(host.rebuilds[0], rebuilds + 1);
    EXPECT_EQ(dialog.tree(0).size(), 6u);
    EXPECT_FALSE(dialog.IsChanged(0));
}

TEST_F(Transfers, UnsavedChangesAreAskedAboutOnce) {
    Select(0, MakeItemTag(kPatternKind, 1, 1, 1));
    dialog.Run(CommandId::remove, 0);
    ASSERT_TRUE(dialog.IsChanged(0));
    host.yesNoAnswers.push_back(false);
    dialog.Run(CommandId::newDump, 0);  // No: the pane stays
    EXPECT_EQ(host.fileNames[0], "left.syx");
    host.yesNoAnswers.push_back(false);
    dialog.Run(CommandId::open, 0);  // No: not even the file chooser
    EXPECT_EQ(host.openFolders.size(), 2u);
    host.yesNoAnswers.push_back(false);
    EXPECT_FALSE(dialog.MayEnd());
    host.yesNoAnswers.push_back(true);
    EXPECT_TRUE(dialog.MayEnd());
    ASSERT_EQ(host.questions.size(), 4u);
    EXPECT_EQ(host.questions[0].text, "The left dump has unsaved changes.\nDiscard them?");
    EXPECT_EQ(host.questions[2].text,
              "The left dump has unsaved changes.\nEnd Korvel and discard them?");
    host.yesNoAnswers.push_back(true);
    dialog.Run(CommandId::newDump, 0);
    EXPECT_EQ(host.fileNames[0], "");
    EXPECT_TRUE(dialog.MayEnd());
    EXPECT_EQ(host.questions.size(), 5u);
}

TEST_F(Transfers, DeletingAnEmptyPatternIsNoChange) {
    Select(1, MakeItemTag(kPatternKind, 0, 0, 0));
    dialog.Run(CommandId::remove, 1);
    EXPECT_FALSE(dialog.IsChanged(1));
    EXPECT_TRUE(dialog.MayEnd());
}

TEST_F(Session, FullSessionEndsInTheExpectedFiles) {
    const Bytes left = korvel::testing::FullDump(10);
    Bytes right = korvel::testing::FullDump(20);
    Open(0, Dump("left.syx", left, "\r\n\r\n03 Drums\r\n"));
    Open(1, Dump("right.syx", right));
    // Right pane at 6 banks; a track and a bank from the 12-bank left pane.
    host.layoutAnswers.push_back(1);
    dialog.Run(CommandId::memLayout, 1);
    Select(0, MakeItemTag(kTrackKind, 4, 1));
    Select(1, MakeItemTag(kTrackKind, 5, 0));
    dialog.Edits().OnTransfer(0, 1);
    Select(0, MakeItemTag(kBankKind, 2));
    Select(1, MakeItemTag(kBankKind, 1));
    dialog.Edits().OnTransfer(0, 1);
    Select(1, MakeItemTag(kPatternKind, 0, 7, 7));
    dialog.Run(CommandId::remove, 1);
    Select(1, MakeItemTag(kBankKind, 4));
    host.renameAnswers.push_back("Strings");
    dialog.Run(CommandId::rename, 1);
    host.saveAnswers.push_back(dir.File("result.syx"));
    dialog.Run(CommandId::save, 1);
    EXPECT_TRUE(host.messages.empty());

    // Expected: the same edits made directly on the model.
    DumpImage source, expected;
    (void)source.Load(left);
    source.SetBankName(2, "03 Drums");
    (void)expected.Load(right);
    expected.SetLayoutChoice(1);
    ASSERT_EQ(expected.CopyTrack(source, 4, 1, 5, 0), 1);
    ASSERT_EQ(expected.CopyBank(source, 2, 1), 1);
    ASSERT_EQ(expected.DeletePattern(0, 7, 7), 1);
    EXPECT_EQ(ReadFile(dir.File("result.syx")), expected.WriteToBytes());
    EXPECT_EQ(ReadText(dir.File("result.bnl")),
              "\r\n02 Drums\r\n\r\n\r\n05 Strings\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");

    // Loaded again, the copies are in their new place with valid checksums.
    DumpImage saved;
    const auto result = saved.LoadFile(dir.File("result.syx"));
    EXPECT_EQ(result.report.Total(), 0u);
    saved.SetLayoutChoice(1);
    const MessageSlot& copied = korvel::testing::Patterns(saved)[saved.PatternSlotIndex(5, 0, 3)];
    EXPECT_EQ(copied.begin[8], 2 * 8 + 0);
    EXPECT_EQ(copied.begin[9], 8 + 3);
    EXPECT_TRUE(korvel::testing::Patterns(saved)[saved.PatternSlotIndex(0, 7, 7)].IsEmpty());
    EXPECT_FALSE(dialog.IsChanged(1));
    dialog.End(settings);
    EXPECT_EQ(settings.GetInt("Settings", "MemoryLayout Right", -5), 1);
}

// The window's commands, once each: no key acts for two commands in the same place, every
// command reaches its tool, and Rename applies to banks alone.
TEST_F(Session, CommandTableHoldsEachKeyOnceAndReachesTheCore) {
    std::set<std::string> keys;
    for (const Command& command : Commands()) {
        std::string all = command.keys;
        for (std::size_t at = 0; !all.empty() && at != std::string::npos;) {
            const std::size_t end = all.find("; ", at);
            const std::string key = all.substr(at, end == std::string::npos ? end : end - at);
            EXPECT_TRUE(keys.insert(key).second) << key << " twice";
            at = end == std::string::npos ? end : end + 2;
        }
    }
    dialog.Run(CommandId::about, kLeftPane);
    EXPECT_EQ(host.aboutShown, 1);
    dialog.Run(CommandId::compare, kLeftPane);
    EXPECT_TRUE(dialog.Compare().IsComparing());
    const Command& rename = CommandOf(CommandId::rename);
    EXPECT_TRUE(AppliesTo(rename, MakeItemTag(kBankKind, 2)));
    EXPECT_FALSE(AppliesTo(rename, MakeItemTag(kTrackKind, 2, 1)));
    EXPECT_TRUE(AppliesTo(CommandOf(CommandId::remove), MakeItemTag(kTrackKind, 2, 1)));
}

}  // namespace
}  // namespace korvel::ui

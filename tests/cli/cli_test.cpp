// Runs the built korvel-cli on dumps made here and checks bytes, exit codes and messages.
#include "dump_builder.h"
#include "image_slots.h"
#include "dump_image.h"
#include "edits.h"
#include "sysex_message.h"
#include "temp_dir.h"

#include "stored_text.h"

#include "verbs.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <sys/wait.h>
#endif

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>

namespace korvel {
namespace {

using testing::Bytes;
using testing::ReadFile;
using testing::ReadText;
using testing::WriteFile;

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

#if defined(_WIN32)
// cmd.exe's quoting; the tests' words hold no double quotes.
std::string Quote(const std::string& word) {
    return '"' + word + '"';
}

// Windows ends the lines of a console program's text with "\r\n".
std::string TextLines(std::string text) {
    std::erase(text, '\r');
    return text;
}
#else
std::string TextLines(std::string text) {
    return text;
}

std::string Quote(const std::string& word) {
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}
#endif

class Cli : public ::testing::Test {
  protected:
    Outcome Korvel(const std::vector<std::string>& words) {
        std::string command = Quote(KORVEL_CLI);
        for (const auto& word : words) {
            command += ' ';
            command += Quote(word);
        }
        // Files of its own for each run: under load Wine can hold a finished program's files
        // for a moment, and the next run could not open them ("Sharing violation").
        const std::string run = std::to_string(++runs_);
        const std::string out = dir.File("stdout-" + run);
        const std::string err = dir.File("stderr-" + run);
        command += " >" + Quote(out) + " 2>" + Quote(err);
#if defined(_WIN32)
        command = '"' + command + '"';  // cmd /c takes away the outermost pair
#endif
        const int status = std::system(command.c_str());
#if defined(_WIN32)
        const int code = status;
#else
        const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
        return {code, TextLines(ReadText(out)), TextLines(ReadText(err))};
    }

    std::string Dump(const std::string& name, const Bytes& bytes) {
        WriteFile(dir.File(name), bytes);
        return dir.File(name);
    }

    testing::TempDir dir;

  private:
    int runs_ = 0;
};

TEST_F(Cli, CopiesEachKindBetweenLayouts) {
    const Bytes sourceBytes = testing::FullDump(1);
    const std::string src = Dump("src.syx", sourceBytes);
    WriteFile(dir.File("src.bnl"), {'\r', '\n', '0', '2', ' ', 'K', 'e', 'y', 's', '\r', '\n'});
    const std::string dst = Dump("dst.syx", testing::FullDump(2));
    struct Case {
        std::string from, to, srcLayout, dstLayout;
    };
    for (const auto& c :
         {Case{"B05T02P03", "b05t08p06", "12", "6"}, Case{"B02T03", "B01T01", "6", "3"},
          Case{"B02", "B09", "12", "12"}, Case{"B02L", "B10L", "12", "12"}}) {
        const std::string out = dir.File("out.syx");
        const Outcome run = Korvel({"copy", src, c.from, dst, c.to, "--src-layout", c.srcLayout,
                                    "--dst-layout", c.dstLayout, "-o", out});
        ASSERT_EQ(run.code, 0) << c.from << ": " << run.err;
        DumpImage source, expected;
        (void)source.Load(sourceBytes);
        source.SetBankName(1, "02 Keys");
        source.SetLayout(*MemoryLayout::FromBankCount(std::stoi(c.srcLayout)));
        (void)expected.Load(testing::FullDump(2));
        expected.SetLayout(*MemoryLayout::FromBankCount(std::stoi(c.dstLayout)));
        const auto n = [](const std::string& item, std::size_t at) {
            return std::stoi(item.substr(at, 2)) - 1;
        };
        if (c.from.size() == 9) {
            ASSERT_EQ(expected.CopyPattern(source, n(c.from, 1), n(c.from, 4), n(c.from, 7),
                                           n(c.to, 1), n(c.to, 4), n(c.to, 7)),
                      1);
        } else if (c.from.size() == 6) {
            ASSERT_EQ(
                expected.CopyTrack(source, n(c.from, 1), n(c.from, 4), n(c.to, 1), n(c.to, 4)), 1);
        } else if (c.from.back() == 'L') {
            ASSERT_EQ(expected.CopyPlaylists(source, n(c.from, 1), n(c.to, 1)), 1);
        } else {
            ASSERT_EQ(expected.CopyBank(source, n(c.from, 1), n(c.to, 1)), 1);
        }
        EXPECT_EQ(ReadFile(out), expected.WriteToBytes()) << c.from;
    }
    // The bank copy carried the name over under its new number.
    const Outcome run = Korvel({"copy", src, "B02", dst, "B09", "-o", dir.File("named.syx")});
    ASSERT_EQ(run.code, 0);
    EXPECT_EQ(ReadText(dir.File("named.bnl")),
              "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n09 Keys\r\n\r\n\r\n\r\n");
}

TEST_F(Cli, DiffPrintsWhatDiffersAndExitsLikeCmp) {
    using testing::PatternMessageAt;
    const std::string left =
        Dump("l.syx", testing::Concat({PatternMessageAt(0, 24, 1), PatternMessageAt(17, 24, 2),
                                       testing::Type3Message()}));
    const std::string right =
        Dump("r.syx", testing::Concat({PatternMessageAt(0, 24, 3), PatternMessageAt(20, 24, 2)}));
    EXPECT_EQ(Korvel({"diff", left, left}).code, 0);
    const Outcome text = Korvel({"diff", left, right, "--right-layout", "3"});
    EXPECT_EQ(text.code, 1);
    EXPECT_EQ(text.out,
              "B01T01P01 differs\nB01T02P02 only left as B01T02P05\nB04T02P01 only right\n"
              "type-3 differs\n");
    const Outcome json = Korvel({"diff", left, right, "--json"});
    EXPECT_EQ(json.out.rfind("[{\"item\":\"B01T01P01\",\"mark\":\"differs\"},", 0), 0u);
    EXPECT_EQ(Korvel({"diff", left}).code, 2);
    EXPECT_EQ(Korvel({"diff", left, dir.File("missing.syx")}).code, 4);
}

TEST_F(Cli, RefusesWhatTheWindowRefuses) {
    const std::string src = Dump("src.syx", testing::FullDump(1));
    const std::string dst = Dump("dst.syx", testing::FullDump(2));
    const Outcome kinds = Korvel({"copy", src, "B01", dst, "B01T01", "-o", dir.File("o.syx")});
    EXPECT_EQ(kinds.code, 2);
    EXPECT_EQ(kinds.err, std::string(kSameKindRefusal) + "\n");
    const Outcome layout =
        Korvel({"copy", src, "B01L", dst, "B01L", "--src-layout", "6", "-o", dir.File("o.syx")});
    EXPECT_EQ(layout.code, 2);
    EXPECT_EQ(layout.err.rfind("The memory layout (Pattern count)\n", 0), 0u);
    const Outcome missing = Korvel({"copy", src, "B07", dst, "B01", "--src-layout", "6"});
    EXPECT_EQ(missing.code, 2);
    EXPECT_NE(missing.err.find("B07 does not exist under the 6-bank layout"), std::string::npos);
    EXPECT_EQ(Korvel({"copy", src, "B1T9", dst, "B01T01"}).code, 2);
    EXPECT_EQ(Korvel({"copy", src, "B01X", dst, "B01"}).code, 2);
    EXPECT_EQ(Korvel({"tree", src, "--layout", "5"}).code, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.File("o.syx")));
}

TEST_F(Cli, StoppedCopyWritesOnlyWhenToldTo) {
    DumpImage holed;
    (void)holed.Load(testing::FullDump(1));
    (void)holed.DeletePattern(0, 0, 2);
    const std::string src = Dump("src.syx", holed.WriteToBytes());
    const Bytes destinationBytes = testing::FullDump(2);
    const std::string dst = Dump("dst.syx", destinationBytes);
    const Outcome stopped = Korvel({"copy", src, "B01T01", dst, "B02T01", "-o", dir.File("o.syx")});
    EXPECT_EQ(stopped.code, 3);
    EXPECT_NE(stopped.err.find("empty source pattern (B01 T01 P03)"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.File("o.syx")));
    const Outcome kept =
        Korvel({"copy", src, "B01T01", dst, "B02T01", "-o", dir.File("o.syx"), "--keep-partial"});
    EXPECT_EQ(kept.code, 3);
    DumpImage partial;
    ASSERT_TRUE(partial.LoadFile(dir.File("o.syx")).ok());
    DumpImage original;
    (void)original.Load(destinationBytes);
    const auto slotBytes = [](const DumpImage& image, int pattern) {
        const auto span =
            korvel::testing::Patterns(image)[image.PatternSlotIndex(1, 0, pattern)].Bytes();
        return Bytes(span.begin(), span.end());
    };
    // Patterns 1 and 2 were copied; pattern 3 onwards kept the destination's own messages.
    EXPECT_NE(slotBytes(partial, 1), slotBytes(original, 1));
    EXPECT_EQ(korvel::testing::Patterns(partial)[partial.PatternSlotIndex(1, 0, 1)].begin[9], 1);
    EXPECT_EQ(slotBytes(partial, 2), slotBytes(original, 2));
    EXPECT_EQ(slotBytes(partial, 3), slotBytes(original, 3));
}

TEST_F(Cli, DeletesToANewFileOrInPlace) {
    const std::string path = Dump("d.syx", testing::FullDump(3));
    const Outcome toFile = Korvel({"delete", path, "B04T02", "-o", dir.File("e.syx")});
    ASSERT_EQ(toFile.code, 0) << toFile.err;
    DumpImage expected;
    (void)expected.Load(testing::FullDump(3));
    (void)expected.DeleteTrack(3, 1);
    EXPECT_EQ(ReadFile(dir.File("e.syx")), expected.WriteToBytes());
    EXPECT_EQ(ReadFile(path), testing::FullDump(3));
    ASSERT_EQ(Korvel({"delete", path, "B02", "--in-place", "--layout", "3"}).code, 0);
    DumpImage after;
    (void)after.LoadFile(path);
    after.SetLayoutChoice(0);
    EXPECT_TRUE(after.AreBankPlaylistsEmpty(1));
    EXPECT_TRUE(after.IsPatternEmpty(1, 7, 15));
    EXPECT_FALSE(after.IsPatternEmpty(0, 7, 15));
    EXPECT_EQ(Korvel({"delete", path, "B02"}).code, 2);
}

TEST_F(Cli, RenamesIntoTheSideFileOnly) {
    const std::string path = Dump("r.syx", testing::FullDump(4));
    ASSERT_EQ(Korvel({"rename", path, "B03", "Drums"}).code, 0);
    ASSERT_EQ(Korvel({"rename", path, "b01", ""}).code, 0);
    EXPECT_EQ(ReadText(dir.File("r.bnl")),
              "Bank 01\r\n\r\n03 Drums\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
    EXPECT_EQ(ReadFile(path), testing::FullDump(4));
    const Outcome notBank = Korvel({"rename", path, "B03T01", "x"});
    EXPECT_EQ(notBank.code, 2);
    EXPECT_EQ(notBank.err, std::string(kOnlyBanksRefusal) + "\n");
}

TEST_F(Cli, ChecksChecksumsAndCutOffFiles) {
    Bytes bytes = testing::FullDump(5);
    EXPECT_EQ(Korvel({"check", Dump("good.syx", bytes)}).code, 0);
    const Bytes firstPattern = testing::PatternMessageAt(0, 24, 5);
    const std::size_t at = bytes.size() - 384 * firstPattern.size() + firstPattern.size() - 2;
    const int good = bytes[at];
    bytes[at] = static_cast<std::uint8_t>((good + 1) & 0x7F);
    const Outcome bad = Korvel({"check", Dump("bad.syx", bytes)});
    EXPECT_EQ(bad.code, 1);
    EXPECT_NE(bad.out.find("pattern 0 at offset"), std::string::npos) << bad.out;
    EXPECT_NE(bad.out.find("checksum " + std::to_string(bytes[at]) + ", expected " +
                           std::to_string(good)),
              std::string::npos);
    bytes.resize(bytes.size() - 5);
    const Outcome cut = Korvel({"check", Dump("cut.syx", bytes)});
    EXPECT_EQ(cut.code, 1);
    EXPECT_NE(cut.out.find("passed over, message cut off before its F7"), std::string::npos);
}

// The manual page and the bash completion are written by hand; each names every verb of the
// table with the options it takes, and nothing else.
TEST_F(Cli, ManualAndCompletionFollowTheTableOfVerbs) {
    const std::string manual = ReadText(KORVEL_SOURCE_DIR "/docs/man/korvel-cli.md");
    const std::string completion = ReadText(KORVEL_SOURCE_DIR "/res/completion/korvel-cli");
    ASSERT_FALSE(manual.empty() || completion.empty());
    std::string names;
    for (const cli::Verb& verb : cli::Verbs()) {
        names += (names.empty() ? "" : " ") + std::string(verb.name);
        EXPECT_NE(manual.find(std::string("**") + verb.name + "**"), std::string::npos)
            << verb.name;
        // The completion spells --output as -o.
        std::istringstream taken(verb.options);
        std::set<std::string> expected;
        for (std::string option; taken >> option;) {
            EXPECT_NE(manual.find("**" + (option == "--output" ? "-o" : option) + "**"),
                      std::string::npos)
                << option;
            expected.insert(option == "--output" ? "-o" : option);
        }
        const std::string line = std::string(verb.name) + ") options+=\"";
        const std::size_t at = completion.find(line);
        std::set<std::string> offered;
        if (at != std::string::npos) {
            std::istringstream words(completion.substr(
                at + line.size(), completion.find('"', at + line.size()) - at - line.size()));
            for (std::string option; words >> option;) {
                offered.insert(option);
            }
        }
        EXPECT_EQ(offered, expected) << verb.name;
    }
    EXPECT_NE(completion.find("local commands=\"" + names + "\""), std::string::npos) << names;
    EXPECT_EQ(Korvel({"--version"}).out.rfind("korvel-cli ", 0), 0u);
}

TEST_F(Cli, CanonSortsAScrambledDump) {
    const Bytes t3 = testing::Type3Message();
    const Bytes pl = testing::PlaylistMessage(7), pa1 = testing::PatternMessageAt(1),
                pa300 = testing::PatternMessageAt(300);
    const std::string path =
        Dump("s.syx", testing::Concat({pa300, testing::ForeignMessage(), pl, pa1, t3}));
    const Outcome run = Korvel({"canon", path, "-o", dir.File("c.syx")});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(ReadFile(dir.File("c.syx")), testing::Concat({t3, pl, pa1, pa300}));
    EXPECT_EQ(ReadText(dir.File("c.bnl")).size(), 24u);
}

TEST_F(Cli, TreeAsTextAndJson) {
    const std::string path = Dump(
        "t.syx", testing::Concat({testing::PatternMessage(0, 0, 0), testing::MessageOfType(4)}));
    const Outcome text = Korvel({"tree", path, "--layout", "3"});
    ASSERT_EQ(text.code, 0);
    EXPECT_EQ(text.out.rfind("Bank 01 [partial]\n  Playlist B01 [empty]\n  Track 1 [partial]\n"
                             "    Pattern  1 [full]\n    Pattern  2 [empty]\n",
                             0),
              0u);
    EXPECT_NE(text.out.find("skipped: 1 message(s)\n  1 message of an unused type\n"),
              std::string::npos);
    const Outcome json = Korvel({"tree", path, "--json"});
    ASSERT_EQ(json.code, 0);
    EXPECT_EQ(json.out.rfind("{\"file\":", 0), 0u);
    EXPECT_NE(json.out.find("\"layout\":12,\"banks\":[{\"text\":\"Bank 01\",\"fill\":\"partial\""),
              std::string::npos);
    EXPECT_NE(json.out.find("\"skipped\":{\"message of an unused type\":1}}"), std::string::npos);
}

TEST_F(Cli, FilesThatCannotBeReadOrWritten) {
    const Outcome missing = Korvel({"tree", dir.File("none.syx")});
    EXPECT_EQ(missing.code, 4);
    EXPECT_NE(missing.err.find("none.syx"), std::string::npos);
    const std::string path = Dump("x.syx", testing::FullDump());
    const Outcome unwritable = Korvel({"canon", path, "-o", dir.File("no/such/dir/x.syx")});
    EXPECT_EQ(unwritable.code, 4);
    EXPECT_NE(unwritable.err.find("cannot write"), std::string::npos);
}

#if !defined(_WIN32)
// Paths that are not what a command expects: each says what is wrong with it and loses nothing.
TEST_F(Cli, PathsThatAreNotPlainFiles) {
    const std::string path = Dump("live.syx", testing::FullDump());
    ASSERT_EQ(::mkfifo(dir.File("fifo.syx").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.File("folder"));
    std::filesystem::resize_file(Dump("huge.syx", {}), std::uintmax_t{1} << 32);
    struct Case {
        std::vector<std::string> words;
        std::string says;
    };
    for (const auto& [words, says] : std::vector<Case>{
             {{"tree", dir.File("fifo.syx")},
              "fifo.syx cannot be opened: it is not a regular file"},
             {{"tree", dir.File("huge.syx")}, "huge.syx is 4 GiB or larger"},
             {{"canon", path, "-o", dir.File("fifo.syx")}, "fifo.syx is not a regular file"},
             {{"canon", path, "-o", dir.File("folder")}, "folder is a folder"},
             {{"canon", path, "-o", dir.File("folder") + "/"}, "names a folder"},
             {{"canon", path, "-o", dir.File("out.bnl")}, "ends in \".bnl\""},
             {{"delete", Dump("d.bnl", testing::FullDump()), "B01", "--in-place"}, ".bnl"},
         }) {
        const Outcome run = Korvel(words);
        EXPECT_EQ(run.code, 4) << words.back();
        EXPECT_NE(run.err.find(says), std::string::npos) << run.err;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(dir.File("fifo.syx")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.bnl")));
    EXPECT_EQ(ReadFile(dir.File("d.bnl")), testing::FullDump());
}

TEST_F(Cli, DumpSavedWithoutItsBankNamesSaysSo) {
    const std::string path = Dump("live.syx", testing::FullDump());
    std::filesystem::create_directory(dir.File("out.bnl"));
    const Outcome run = Korvel({"canon", path, "-o", dir.File("out.syx")});
    EXPECT_EQ(run.code, 4);
    EXPECT_NE(run.err.find("out.syx was saved, but its bank names were not:"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("folder"), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(dir.File("out.syx")), testing::FullDump());
}
#endif

TEST_F(Cli, JsonNamesAreAlwaysValidUtf8) {
    const std::string path = Dump("live.syx", testing::FullDump());
    WriteFile(dir.File("live.bnl"), {'0', '1', ' ', 0xC0, 0x80, '\n', '0', '2', ' ', 0xED, 0xA0,
                                     0x80, '\n', '0', '3', ' ', 0xC3, 0xA9, '\n'});
    const Outcome json = Korvel({"tree", path, "--json"});
    ASSERT_EQ(json.code, 0);
    EXPECT_TRUE(IsStrictUtf8(json.out));
    EXPECT_NE(json.out.find("\"text\":\"03 \xC3\xA9\""), std::string::npos);
#if !defined(_WIN32)  // there, lines that are not UTF-8 are read in the system's code page
    EXPECT_NE(json.out.find("\"text\":\"01 \xC3\x80\xC2\x80\""), std::string::npos);
    EXPECT_NE(json.out.find("\"text\":\"02 \xC3\xAD\xC2\xA0\xC2\x80\""), std::string::npos);
#endif
}

// Without a MIDI system running there are no ports; a port that is not there is a bad argument.
TEST_F(Cli, MidiPortsThatAreNotThere) {
    const std::string path = Dump("live.syx", testing::FullDump());
    const Outcome send = Korvel({"send", path, "--port", "9"});
    EXPECT_EQ(send.code, 2);
    EXPECT_NE(send.err.find("there is no port 9"), std::string::npos) << send.err;
    const Outcome receive = Korvel({"receive", dir.File("in.syx"), "--port", "W2"});
    EXPECT_EQ(receive.code, 2);
    EXPECT_NE(receive.err.find("no port matches W2"), std::string::npos) << receive.err;
    EXPECT_EQ(Korvel({"send", path, "--pause", "5001"}).code, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.File("in.syx")));
    EXPECT_EQ(Korvel({"verify", path, "--port", "W2"}).code, 2);
    EXPECT_EQ(Korvel({"verify", dir.File("missing.syx"), "--port", "W2"}).code, 4);
    // Without a port to back up from, nothing is sent.
    const Outcome first = Korvel({"send", path, "--port", "W2", "--backup-first", "b.syx"});
    EXPECT_EQ(first.code, 2);
    EXPECT_NE(first.err.find("no port matches W2"), std::string::npos) << first.err;
}

// An option another command takes is refused, before anything is sent or written; a backup
// before a send never replaces a file, least of all the dump being sent.
TEST_F(Cli, RefusesWhatWouldSendWithoutTheBackupAskedFor) {
    const std::string path = Dump("live.syx", testing::FullDump());
    struct Case {
        std::vector<std::string> words;
        std::string says;
    };
    const Case cases[] = {
        {{"send", path, "--port", "W2", "--backup", dir.File("b.syx")},
         "send does not take --backup"},
        {{"tree", path, "-o", dir.File("b.syx")}, "tree does not take --output"},
        {{"receive", dir.File("b.syx"), "--port", "W2", "--json"}, "receive does not take --json"},
        {{"send", path, "--port", "W2", "--backup-first", path}, "live.syx is there already"},
    };
    for (const Case& c : cases) {
        const Outcome run = Korvel(c.words);
        EXPECT_EQ(run.code, 2) << c.says;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("b.syx")));
    EXPECT_EQ(ReadFile(path), testing::FullDump());
}

TEST_F(Cli, BackupsNewestFirst) {
    std::filesystem::create_directory(dir.File("received"));
    Dump("received/W2 2026-12-08 21-05-33.syx", testing::FullDump(1));
    Dump("received/W2 2026-12-09 21-05-33.syx", testing::FullDump(1));
    const Outcome text = Korvel({"backups", "--folder", dir.File("received")});
    EXPECT_EQ(text.code, 0);
    EXPECT_EQ(text.out.rfind("2026-12-09 21:05:33  481 messages  same as before  ", 0), 0u)
        << text.out;
    const Outcome json = Korvel({"backups", "--folder", dir.File("received"), "--json"});
    EXPECT_NE(json.out.find("\"when\":\"2026-12-08 21:05:33\",\"messages\":481,"
                            "\"change\":\"the oldest here\"}]"),
              std::string::npos)
        << json.out;
    EXPECT_EQ(Korvel({"backups", "extra"}).code, 2);
    const Outcome missing = Korvel({"backups", "--folder", dir.File("none")});
    EXPECT_EQ(missing.code, 4);
    EXPECT_NE(missing.err.find("there is no folder"), std::string::npos) << missing.err;
}

TEST_F(Cli, HelpForEveryCommand) {
    EXPECT_EQ(Korvel({}).code, 2);
    for (const char* command : {"tree", "check", "copy", "delete", "rename", "canon", "diff",
                                "ports", "send", "receive", "verify", "backups"}) {
        const Outcome run = Korvel({command, "--help"});
        EXPECT_EQ(run.code, 0);
        EXPECT_EQ(run.out.rfind(std::string("Usage: korvel-cli ") + command, 0), 0u) << command;
        EXPECT_NE(run.out.find("Example:"), std::string::npos);
    }
}

}  // namespace
}  // namespace korvel

// What the sessions rely on from every MIDI system, checked on the fake the other suites use and
// on the system's own (scripts/midi-e2e.sh runs this with a JACK server and
// KORVEL_SYSTEM_CONTRACT=Jack, the virtual machine with KORVEL_SYSTEM_CONTRACT=ALSA; elsewhere
// that half is skipped).
#include "fake_midi.h"

#include "midi_port.h"
#include "open_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <optional>
#include <string>
#include <thread>

namespace korvel::midi {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct SystemUnderTest {
    const char* name;
    // Null when the system is not there to test.
    std::function<std::unique_ptr<MidiSystem>()> make;
    // Waits for `done`, as long as the system may take to carry bytes; false if it never is.
    std::function<bool(const std::function<bool()>& done)> settle;
};

void PrintTo(const SystemUnderTest& system, std::ostream* out) {
    *out << system.name;
}

// The fake carries bytes at once, though an input hands them over a piece at a time.
bool AtOnce(const std::function<bool()>& done) {
    for (int look = 0; look < 100; ++look) {
        if (done()) {
            return true;
        }
    }
    return false;
}

bool WithinSeconds(const std::function<bool()>& done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

std::vector<SystemUnderTest> Systems() {
    std::vector<SystemUnderTest> systems;
    systems.push_back({"Fake", [] { return std::make_unique<testing::FakeMidiSystem>(); }, AtOnce});
    systems.push_back({"System",
                       []() -> std::unique_ptr<MidiSystem> {
                           if (std::getenv("KORVEL_SYSTEM_CONTRACT") == nullptr) {
                               return nullptr;
                           }
                           return OpenSystem("korvel-contract");
                       },
                       WithinSeconds});
    return systems;
}

class MidiSystemContract : public ::testing::TestWithParam<SystemUnderTest> {
  protected:
    void SetUp() override {
        system_ = GetParam().make();
        if (!system_) {
            GTEST_SKIP() << "set KORVEL_SYSTEM_CONTRACT to the API to test";
        }
        // The system's own must be the API asked for, not whichever answered.
        if (const char* api = std::getenv("KORVEL_SYSTEM_CONTRACT");
            api != nullptr && std::string(GetParam().name) == "System") {
            ASSERT_EQ(system_->ListPorts().api, api);
        }
    }
    bool Settle(const std::function<bool()>& done) { return GetParam().settle(done); }
    // The listed name of an own port: JACK and ALSA add the client's name, ALSA its number.
    static std::optional<std::string> Listed(const std::vector<std::string>& names,
                                             const std::string& own) {
        const auto it = std::find_if(names.begin(), names.end(), [&own](const std::string& n) {
            return n.find(own) != std::string::npos;
        });
        return it == names.end() ? std::nullopt : std::optional<std::string>(*it);
    }
    // Bytes that arrive at `input` until `want` of them have come.
    Bytes Arrived(MidiInput& input, std::size_t want) {
        Bytes got;
        Settle([&] {
            input.TakeBytes(got);
            return got.size() >= want;
        });
        return got;
    }

    std::unique_ptr<MidiSystem> system_;
};

Bytes SysEx(std::size_t length, std::uint8_t fill) {
    Bytes message(length, fill);
    message.front() = 0xF0;
    message.back() = 0xF7;
    return message;
}

TEST_P(MidiSystemContract, APortThatIsNotThereDoesNotOpenAndSaysWhy) {
    const InputOpening input = system_->OpenInput("no such port 42");
    const OutputOpening output = system_->OpenOutput("no such port 42");
    ASSERT_FALSE(input);
    ASSERT_FALSE(output);
    EXPECT_FALSE(input.reason().empty());
    EXPECT_FALSE(output.reason().empty());
}

TEST_P(MidiSystemContract, AnOwnOutputIsListedAndCarriesMessagesWholeAndInOrder) {
    OutputOpening output = system_->OpenOwnOutput("contract-out");
    ASSERT_TRUE(output) << output.reason();
    std::optional<std::string> listed;
    ASSERT_TRUE(Settle([&] {
        return (listed = Listed(system_->ListPorts().inputs, "contract-out")).has_value();
    }));
    InputOpening input = system_->OpenInput(*listed);
    ASSERT_TRUE(input) << input.reason();

    const Bytes messages[] = {SysEx(300, 0x11), {0x90, 0x40, 0x7F}, SysEx(4000, 0x22)};
    Bytes all;
    for (const Bytes& message : messages) {
        ASSERT_TRUE((*output)->Send(message));
        all.insert(all.end(), message.begin(), message.end());
    }
    EXPECT_EQ(Arrived(**input, all.size()), all);
    EXPECT_TRUE(Settle([&] { return (*output)->HasDelivered(); }));
    EXPECT_GE((*output)->MaxMessageLength(), std::size_t{4000});
    EXPECT_EQ((*output)->Broken(), "");
    EXPECT_EQ((*input)->Broken(), "");
    EXPECT_FALSE((*input)->HasLostInput());
}

TEST_P(MidiSystemContract, AnOwnInputIsListedAndReceivesWhatIsSentThere) {
    InputOpening input = system_->OpenOwnInput("contract-in");
    ASSERT_TRUE(input) << input.reason();
    std::optional<std::string> listed;
    ASSERT_TRUE(Settle([&] {
        return (listed = Listed(system_->ListPorts().outputs, "contract-in")).has_value();
    }));
    OutputOpening output = system_->OpenOutput(*listed);
    ASSERT_TRUE(output) << output.reason();
    const Bytes message = SysEx(1000, 0x33);
    ASSERT_TRUE((*output)->Send(message));
    EXPECT_EQ(Arrived(**input, message.size()), message);
}

INSTANTIATE_TEST_SUITE_P(Systems, MidiSystemContract, ::testing::ValuesIn(Systems()),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace korvel::midi

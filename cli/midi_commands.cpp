#include "midi_commands.h"

#include "atomic_file.h"
#include "dump_check.h"
#include "dump_image.h"
#include "paths.h"

#include "receive_session.h"
#include "send_session.h"

#include "command_line.h"
#include "dump_files.h"
#include "items.h"
#include "ending_signals.h"

#include "port_match.h"
#include "open_system.h"

#include <array>
#include <csignal>
#include <cstdio>
#include <ostream>
#include <thread>

namespace korvel::cli {

namespace {

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void RequestStop(int) {
    stopRequested = 1;
}

// While a MIDI command runs, Ctrl-C (and the other ending signals) ask it to stop at the next
// safe point instead of ending the program there.
class StopOnSignal {
  public:
    StopOnSignal() {
        stopRequested = 0;
        for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
            previous_[i] = std::signal(kEndingSignals[i], RequestStop);
        }
    }
    ~StopOnSignal() {
        for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
            std::signal(kEndingSignals[i], previous_[i]);
        }
    }
    StopOnSignal(const StopOnSignal&) = delete;
    StopOnSignal& operator=(const StopOnSignal&) = delete;
    bool Requested() const { return stopRequested != 0; }

  private:
    std::array<void (*)(int), kEndingSignals.size()> previous_{};
};

void PrintPortList(const std::vector<std::string>& names, std::ostream& out) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        out << "  " << i + 1 << "  " << names[i] << "\n";
    }
}

// The named port of the list, or the exit code after saying why there is none.
std::optional<std::string> PickPort(const std::vector<std::string>& names, const char* what,
                                    const Options& options, Streams streams) {
    if (!options.port) {
        streams.err << kProgram << ": " << options.command << " needs --port PORT\n";
        return std::nullopt;
    }
    const midi::PortMatch match = ResolvePort(names, *options.port);
    if (!match.name) {
        streams.err << kProgram << ": " << match.problem << "; the " << what << " ports are:\n";
        if (names.empty()) {
            streams.err << "  " << midi::kNoPortsText << "\n";
        }
        PrintPortList(names, streams.err);
    }
    return match.name;
}

// The test's MIDI world, or the system's ports (opened once, on first use) and clock.
class MidiAccess {
  public:
    explicit MidiAccess(Streams streams) : world_(streams.midi) {}
    midi::MidiSystem& System() {
        if (world_ != nullptr) {
            return world_->system;
        }
        if (!own_) {
            own_ = midi::OpenSystem(kProgram);
        }
        return *own_;
    }
    midi::Clock& Clock() { return world_ != nullptr ? world_->clock : steady_; }
    // The system's sleeps end on a whole millisecond at best, later under load: the last one is
    // spent yielding, so that a send, which starts each message only once the one before has
    // had its cable time, does not fall behind the cable by a millisecond a message.
    void WaitUntil(midi::Instant when) {
        if (world_ != nullptr) {
            world_->waitUntil(when);
            return;
        }
        std::this_thread::sleep_until(when - std::chrono::milliseconds(1));
        while (steady_.Now() < when) {
            std::this_thread::yield();
        }
    }

  private:
    MidiWorld* world_;
    std::unique_ptr<midi::MidiSystem> own_;
    midi::SteadyClock steady_;
};

void ShowProgress(const std::string& line, Streams streams) {
    if (ErrorStreamIsTerminal()) {
        streams.err << "\r" << line << "\x1b[K" << std::flush;
    }
}

void EndProgress(Streams streams) {
    if (ErrorStreamIsTerminal()) {
        streams.err << "\n";
    }
}

}  // namespace

midi::PortMatch ResolvePort(const std::vector<std::string>& names, const std::string& wanted) {
    if (!wanted.empty() && wanted.find_first_not_of("0123456789") == std::string::npos &&
        wanted.size() < 6) {
        const auto number = static_cast<std::size_t>(std::stoul(wanted));
        if (number >= 1 && number <= names.size()) {
            return {names[number - 1], {}};
        }
        return {std::nullopt, "there is no port " + wanted};
    }
    return midi::MatchPort(names, wanted);
}

int Ports(const Options& /*options*/, Streams streams) {
    MidiAccess world(streams);
    const midi::MidiPortList list = world.System().ListPorts();
    if (list.inputs.empty() && list.outputs.empty()) {
        streams.out << midi::kNoPortsText << (list.api.empty() ? "" : " (" + list.api + ")")
                    << "\n";
        return kDone;
    }
    streams.out << "Input ports (" << list.api << "), for receive:\n";
    PrintPortList(list.inputs, streams.out);
    streams.out << "Output ports (" << list.api << "), for send:\n";
    PrintPortList(list.outputs, streams.out);
    return kDone;
}

namespace {

// What a receive brought: every byte that came, real-time bytes aside, and whether Ctrl-C
// ended it or some of it was lost (the port broke, or the system dropped input).
struct Received {
    std::vector<std::uint8_t> kept;
    std::vector<std::uint8_t> messages;  // the whole messages among them
    bool interrupted = false;
    bool incomplete = false;
    std::string whyNoBackup;  // empty when what came is a whole backup of the W2's memory
};

int WriteReceived(const std::string& path, const std::vector<std::uint8_t>& kept, Streams streams) {
    const Outcome written = ReplaceFileWithBytes(path, kept);
    if (!written.ok()) {
        streams.err << kProgram << ": cannot write " << path << ": " << written.reason() << "\n";
        return kFileError;
    }
    return kDone;
}

// Listens on the --port or --own-port input until the sender has been silent for the idle
// time, Ctrl-C, or --wait seconds with nothing, and keeps what came in `keepIn` when one is
// given. kDone when something came and was kept, otherwise the exit code after saying why.
// `nothingMeans` follows "Nothing arrived from PORT" when nothing came.
int ReceiveBytes(MidiAccess& world, const Options& options, Streams streams, Received& received,
                 const std::optional<std::string>& keepIn, const char* nothingMeans = "") {
    midi::MidiSystem& system = world.System();
    std::string portName;
    if (options.ownPort) {
        portName = *options.ownPort;
    } else {
        const auto port = PickPort(system.ListPorts().inputs, "input", options, streams);
        if (!port) {
            return kBadArguments;
        }
        portName = *port;
    }
    const midi::InputOpening input =
        options.ownPort ? system.OpenOwnInput(portName) : system.OpenInput(portName);
    if (!input) {
        streams.err << kProgram << ": " << midi::CannotOpenText(portName, input.reason()) << "\n";
        return kFileError;
    }
    midi::Clock& clock = world.Clock();
    const midi::Duration idle = options.idleMs ? std::chrono::milliseconds(*options.idleMs)
                                               : midi::Duration(midi::kDefaultReceiveIdle);
    midi::ReceiveSession session(**input, clock, idle);
    const midi::Instant started = clock.Now();
    const StopOnSignal stop;
    while (!session.HasEnded()) {
        session.Poll();
        if (stop.Requested()) {
            session.Finish();  // what came so far is kept
            received.interrupted = true;
            break;
        }
        if (options.waitSeconds && session.NothingArrived() &&
            clock.Now() - started >= std::chrono::seconds(*options.waitSeconds)) {
            break;
        }
        if (!session.NothingArrived()) {
            ShowProgress(session.ProgressText(), streams);
        }
        world.WaitUntil(clock.Now() + midi::kCommandPoll);
    }
    EndProgress(streams);
    if (!session.Broken().empty()) {
        streams.err << kProgram << ": " << portName << ": " << session.Broken()
                    << (session.NothingArrived() ? "" : "; what came before is kept") << "\n";
    }
    if (session.NothingArrived()) {
        streams.err << kProgram << ": Nothing arrived from " << portName << nothingMeans << "\n";
        return session.Broken().empty() ? kProblemsFound : kFileError;
    }
    if (session.End() == midi::ReceiveEnd::tooLarge) {
        streams.err << kProgram << ": " << midi::ReceiveLimitText() << "\n";
    }
    if (session.Counts().lostInput) {
        streams.err << kProgram << ": " << portName << ": " << midi::kLostInputText << "\n";
    }
    received.kept = session.Kept();
    received.messages = session.Messages();
    received.incomplete = !session.Broken().empty() || session.Counts().lostInput;
    if (keepIn) {
        if (const int code = WriteReceived(*keepIn, received.kept, streams)) {
            return code;
        }
        received.whyNoBackup = midi::WhyNoBackup(&session, *keepIn);
    }
    return kDone;
}

}  // namespace

int Send(const Options& options, Streams streams) {
    DumpImage image;
    if (const int code = LoadDump(options.arguments[0], std::nullopt, image, nullptr, streams)) {
        return code;
    }
    const midi::Duration pause = options.pauseMs ? std::chrono::milliseconds(*options.pauseMs)
                                                 : midi::Duration(midi::kDefaultMessagePause);
    const midi::SendPlan plan = midi::PlanSend(image, pause);
    if (plan.messages.empty()) {
        streams.err << kProgram << ": " << midi::kNothingToSendText << "\n";
        return kBadArguments;
    }
    MidiAccess world(streams);
    if (options.backupFirst) {
        // The backup never replaces a file, least of all the dump about to be sent.
        const auto taken = PathIsTaken(*options.backupFirst);
        if (!taken || *taken) {
            streams.err << kProgram << ": --backup-first "
                        << (taken ? *options.backupFirst +
                                        " is there already; give the name of "
                                        "a new file"
                                  : taken.reason())
                        << "; nothing was sent\n";
            return kBadArguments;
        }
        // The W2's memory is kept before the send replaces it; without it nothing is sent.
        Received received;
        if (const int code = ReceiveBytes(world, options, streams, received, options.backupFirst,
                                          "; nothing was sent")) {
            return code;
        }
        if (received.interrupted) {
            streams.err << kProgram << ": stopped after the backup; nothing was sent\n";
            return 128 + SIGINT;
        }
        if (!received.whyNoBackup.empty()) {
            streams.err << kProgram
                        << ": the W2's memory is not backed up: " << received.whyNoBackup
                        << "; nothing was sent\n";
            return received.incomplete ? kFileError : kProblemsFound;
        }
    }
    const auto port = PickPort(world.System().ListPorts().outputs, "output", options, streams);
    if (!port) {
        return kBadArguments;
    }
    const midi::SendOpening opening = midi::OpenForSend(world.System(), *port, plan);
    if (!opening.output) {
        streams.err << kProgram << ": " << opening.problem << "\n";
        return opening.portFailed ? kFileError : kBadArguments;
    }
    midi::MidiOutput& output = *opening.output;
    midi::Clock& clock = world.Clock();
    midi::SendSession session(output, clock, plan.messages, pause);
    const StopOnSignal stop;
    while (!session.HasEnded()) {
        const midi::Instant next = session.Step();
        if (stop.Requested()) {
            session.Cancel();  // takes effect before the next message, never inside one
        }
        ShowProgress(session.ProgressText(), streams);
        // Short sleeps, so that a Ctrl-C is seen at once.
        world.WaitUntil(std::min(next, clock.Now() + midi::kCommandPoll));
    }
    // The port closes only once it has handed on the last message.
    while (!session.MayClosePort(clock.Now())) {
        world.WaitUntil(session.WakeUpAfter(session.Step()));
    }
    EndProgress(streams);
    streams.out << session.SummaryText(*port) << "\n";
    if (!session.Failure().empty()) {
        return kFileError;
    }
    return session.WasCancelled() ? 128 + SIGINT : kDone;
}

int Receive(const Options& options, Streams streams) {
    Received received;
    MidiAccess world(streams);
    // The file is the musician's backup: every byte that came, as the window's receive keeps
    // it; what is not a whole message is reported below.
    if (const int code = ReceiveBytes(world, options, streams, received, options.arguments[0])) {
        return code;
    }
    DumpImage image;
    const LoadResult loaded = image.Load(received.kept);
    const int problems = PrintProblems(image, loaded.report, streams.out);
    return received.incomplete ? kFileError : problems == 0 ? kDone : kProblemsFound;
}

int Verify(const Options& options, Streams streams) {
    DumpImage sent;
    if (const int code = LoadDump(options.arguments[0], options.layout, sent, nullptr, streams)) {
        return code;
    }
    Received received;
    MidiAccess world(streams);
    if (const int code = ReceiveBytes(world, options, streams, received, options.backup)) {
        return code;
    }
    const DumpCheck check = CheckReadBack(sent, received.messages).check;
    for (const FailedSlot& slot : check.failures) {
        streams.out << (slot.place ? ItemText(ItemOfSlot(*slot.place, sent.Layout())) : "type-3")
                    << " " << CheckFailureWord(slot.failure) << "\n";
    }
    streams.out << check.Summary() << "\n";
    return check.AllBack() ? kDone : kProblemsFound;
}

}  // namespace korvel::cli

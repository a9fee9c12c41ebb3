// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ToolApplication.h"

#include <cerrno>
#include <map>
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "base/RuntimeFailure.h"
#include "files/FileFailureText.h"
#include "text/ShownText.h"
#include "tools/ExitCode.h"
#include "tools/ToolCommand.h"
#include "tools/ToolFailure.h"
#include "tools/ToolFormatter.h"
#include "tools/UsageErrorText.h"

namespace vx40::tool {
namespace {

std::string CommandNames() {
    std::string names;
    for (const auto command : kToolCommands) {
        if (!names.empty()) {
            names += ", ";
        }
        names += command().name;
    }
    return names;
}

// The parser of the whole call: the tool's own options, then every command of the table with
// its options; runs gets the run of each command.
void DeclareTool(CLI::App& app, ToolFormatter& formatter,
                 std::map<const CLI::App*, CommandRun>& runs) {
    app.option_defaults()->group("Optionen");
    // An argument such as "/tmp/plan.txt" is a file on every system, never an option "/tmp"; the
    // subcommands inherit this.
    app.allow_windows_style_options(false);
    app.set_help_flag("-h,--help", "diese Hilfe zeigen");
    app.set_version_flag("--version", std::string(kToolName) + " " + VX40_VERSION,
                         "Name und Version zeigen");
    app.require_subcommand(1);
    app.footer("Rückgabewert: 0 erfolgreich, 1 Daten abgelehnt, 2 Aufruf- oder Dateifehler.");
    formatter.SetUsage(&app, std::string(kToolName) + " BEFEHL [OPTIONEN] ... (Befehle: " +
                                 CommandNames() + "; BEFEHL --help zeigt die Hilfe)");
    for (const auto makeCommand : kToolCommands) {
        const ToolCommand command = makeCommand();
        CLI::App* subcommand = app.add_subcommand(command.name, command.description);
        subcommand->group("Befehle");
        subcommand->get_help_ptr()->group("Optionen");
        formatter.SetUsage(subcommand,
                           std::string(kToolName) + " " + command.name + " " + command.usage);
        runs.emplace(subcommand, command.setUp(*subcommand));
    }
}

// The one way a failure leaves the tool: its report on err, the usage line after it where the
// report asks for it. Returns the exit code.
int ReportFailure(const Failure& failure, const std::string& usageLine, std::ostream& err) {
    const FailureReport report = ToolFailureReport(failure);
    if (report.exitCode != kExitUsage) {
        err << report.message << '\n';
        return report.exitCode;
    }
    err << kToolName << ": " << report.message << '\n';
    if (report.usageFollows) {
        err << usageLine;
    }
    return report.exitCode;
}

// A call the parser refused, reported with the usage of the command it names, if any.
int ReportUsageError(const CLI::App& app, const CLI::ParseError& error,
                     const ToolFormatter& formatter, std::ostream& err) {
    const auto commands = app.get_subcommands();
    const CLI::App* command = commands.empty() ? &app : commands.front();
    return ReportFailure(
        CallRefusal(UsageErrorText(error, command->remaining(), !commands.empty())),
        formatter.UsageLine(command), err);
}

// Runs the parsed command. The runtime failures of the calculation and of an INI write end it as
// a failure of the command, with the text the window's failure report shows.
Result<int> RunGuarded(const CommandRun& run, std::ostream& out, std::ostream& err) {
    try {
        return run(out, err);
    } catch (const RuntimeFailure& failure) {
        return CommandFailure(ShownText(FailureReportText(failure.what())));
    } catch (const std::exception& failure) {
        return CommandFailure(ShownText(failure.what()));
    }
}

int RunCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app(
        "Kanaldaten des VX40 ohne Fenster: berechnen, Bin-Datei schreiben und lesen, "
        "Kanaldateien (.vx4) zeigen und umsetzen.",
        kToolName);
    const auto formatter = std::make_shared<ToolFormatter>();
    app.formatter(formatter);
    std::map<const CLI::App*, CommandRun> runs;
    DeclareTool(app, *formatter, runs);
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& success) {
        return app.exit(success, out, err);
    } catch (const CLI::ParseError& error) {
        return ReportUsageError(app, error, *formatter, err);
    }
    const CLI::App* command = app.get_subcommands().front();
    const Result<int> ran = RunGuarded(runs.at(command), out, err);
    return ran ? *ran : ReportFailure(ran.Error(), formatter->UsageLine(command), err);
}

}  // namespace

int RunTool(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    const int exitCode = RunCommand(argc, argv, out, err);
    // A script must not go on with a table that never arrived: a full disk, a closed output, a
    // reader that went away while the pipe signal is ignored. A write that failed on the way
    // leaves the stream failed, and the flush reports what is still buffered.
    errno = 0;
    out.flush();
    if (out) {
        return exitCode;
    }
    return ReportFailure(CommandFailure(OutputFailureText()), {}, err);
}

std::string OutputFailureText() {
    return "die Ausgabe konnte nicht geschrieben werden: " +
           SystemErrorText(errno != 0 ? errno : EIO);
}

}  // namespace vx40::tool

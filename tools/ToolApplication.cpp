#include "tools/ToolApplication.h"

#include <memory>

#include <CLI/CLI.hpp>

#include "platform/RuntimeFailure.h"
#include "tools/ExitCode.h"
#include "tools/ToolCommands.h"
#include "tools/ToolError.h"
#include "tools/ToolFormatter.h"
#include "tools/UsageErrorText.h"

namespace vx40::tool {
namespace {

constexpr const char* kToolName = "vx40-tool";

CLI::App* AddCommand(CLI::App& app, ToolFormatter& formatter, const char* name,
                     const char* description, const char* usage) {
    CLI::App* command = app.add_subcommand(name, description);
    command->group("Befehle");
    command->get_help_ptr()->group("Optionen");
    formatter.SetUsage(command, std::string(kToolName) + " " + name + " " + usage);
    return command;
}

}  // namespace

int RunTool(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app(
        "Kanaldaten des VX40 ohne Fenster: berechnen, Bin-Datei schreiben und lesen, "
        "Kanaldateien (.vx4) zeigen und umsetzen.",
        kToolName);
    const auto formatter = std::make_shared<ToolFormatter>();
    app.formatter(formatter);
    app.option_defaults()->group("Optionen");
    app.set_help_flag("-h,--help", "diese Hilfe zeigen");
    app.require_subcommand(1);
    formatter->SetUsage(&app, std::string(kToolName) +
                                  " BEFEHL [OPTIONEN] ... (Befehle: calc, plan, decode, show, "
                                  "encode; BEFEHL --help zeigt die Hilfe)");

    CalcArguments calc;
    CLI::App* calcCommand =
        AddCommand(app, *formatter, "calc", "Frequenzen berechnen wie \"Rechnen\"",
                   "[OPTIONEN] [--csv] FREQ_KHZ...");
    AddCalculationOptions(*calcCommand, calc.calculation);
    calcCommand->add_flag("--csv", calc.csv, "durch Kommas getrennt ausgeben");
    calcCommand->add_option("FREQ_KHZ", calc.frequencies, "Frequenzen in kHz")
        ->required()
        ->type_name("");

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& success) {
        return app.exit(success, out, err);
    } catch (const CLI::ParseError& error) {
        const auto commands = app.get_subcommands();
        const CLI::App* command = commands.empty() ? &app : commands.front();
        err << kToolName << ": " << UsageErrorText(error, command->remaining(), !commands.empty())
            << '\n'
            << formatter->UsageLine(command);
        return kExitUsage;
    }

    const CLI::App* command = app.get_subcommands().front();
    try {
        if (command == calcCommand) {
            return RunCalc(calc, out, err);
        }
    } catch (const ToolError& error) {
        err << kToolName << ": " << error.what() << '\n';
        if (error.ShowUsage()) {
            err << formatter->UsageLine(command);
        }
        return kExitUsage;
    } catch (const RuntimeFailure& failure) {
        err << FailureReportText(failure.what()) << '\n';
        return kExitUsage;
    }
    return kExitUsage;
}

}  // namespace vx40::tool

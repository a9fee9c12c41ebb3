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
    app.set_version_flag("--version", std::string(kToolName) + " " + VX40_VERSION,
                         "Name und Version zeigen");
    app.require_subcommand(1);
    app.footer("Rückgabewert: 0 erfolgreich, 1 Daten abgelehnt, 2 Aufruf- oder Dateifehler.");
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

    PlanArguments plan;
    CLI::App* planCommand = AddCommand(
        app, *formatter, "plan",
        "einen Kanalplan (eine Frequenz in kHz je Zeile) berechnen und als Bin-Datei schreiben",
        "[OPTIONEN] PLAN -o OUT.bin [--vx4 OUT.vx4]");
    AddCalculationOptions(*planCommand, plan.calculation);
    planCommand->add_option("PLAN", plan.planPath, "Textdatei mit bis zu 16 Frequenzen in kHz")
        ->required()
        ->type_name("");
    planCommand->add_option("-o", plan.binPath, "die Bin-Datei, die geschrieben wird")
        ->required()
        ->type_name("OUT.bin");
    planCommand->add_option("--vx4", plan.vx4Path, "auch diese Kanaldatei schreiben")
        ->type_name("OUT.vx4");

    ReadArguments decode;
    CLI::App* decodeCommand = AddCommand(
        app, *formatter, "decode",
        "eine Bin-Datei lesen und N-Faktoren und Frequenzen zurückrechnen", "[--csv] IN.bin");
    decodeCommand->add_flag("--csv", decode.csv, "durch Kommas getrennt ausgeben");
    decodeCommand->add_option("IN.bin", decode.inputPath, "die Bin-Datei")
        ->required()
        ->type_name("");

    ReadArguments show;
    CLI::App* showCommand = AddCommand(app, *formatter, "show",
                                       "die 16 Kanäle einer Kanaldatei zeigen", "[--csv] IN.vx4");
    showCommand->add_flag("--csv", show.csv, "durch Kommas getrennt ausgeben");
    showCommand->add_option("IN.vx4", show.inputPath, "die Kanaldatei")->required()->type_name("");

    EncodeArguments encode;
    CLI::App* encodeCommand = AddCommand(
        app, *formatter, "encode", "eine Kanaldatei als Bin-Datei schreiben", "IN.vx4 -o OUT.bin");
    encodeCommand->add_option("IN.vx4", encode.inputPath, "die Kanaldatei")
        ->required()
        ->type_name("");
    encodeCommand->add_option("-o", encode.binPath, "die Bin-Datei, die geschrieben wird")
        ->required()
        ->type_name("OUT.bin");

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
        if (command == planCommand) {
            return RunPlan(plan, out, err);
        }
        if (command == decodeCommand) {
            return RunDecode(decode, out, err);
        }
        if (command == showCommand) {
            return RunShow(show, out, err);
        }
        if (command == encodeCommand) {
            return RunEncode(encode, out, err);
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
    } catch (const std::exception& failure) {
        err << kToolName << ": " << failure.what() << '\n';
        return kExitUsage;
    }
    return kExitUsage;
}

}  // namespace vx40::tool

// cvnobj: the editor's command-line companion for batch work on a data file and its names file.

#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/standard_streams.h"
#include "cli/utf8_arguments.h"
#include "document/file_layout.h"
#include "document/scaling.h"
#include "tabletext/value_text.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

constexpr const char* kImportHelp =
    "Reads a CSV or JSON file in the export's form and writes its values into FILE and its names "
    "file. Every row names its record by \"index\"; the index one past the last adds a record "
    "(up to 512). Columns may come in any order; a missing column keeps the stored value. Every "
    "cell is checked before anything is written, and every bad cell is reported as "
    "\"row N, column NAME: reason\" (rows count from 1, the CSV header not counted; a CSV "
    "header's own columns as \"header, column NAME\"): the first 100, then \"and N more\". "
    "Integers take decimal and exponent forms that are exactly whole (\"1E+3\", \"10000.0\"); "
    "floats take decimal and exponent forms with \".\" (\"1E-045\") or a bit pattern "
    "(\"0x7FC00000\"). A value check reports (a flag other than 0 and 1, a float that is not "
    "finite) is written and listed as \"warning: row N, column NAME: ...\"; warnings alone "
    "leave the exit status 0.\n"
    "A CSV passed through a spreadsheet imports unchanged, but for what the spreadsheet itself "
    "changes: it turns a name beginning with \"=\" into its formula's result and \"-0\" into "
    "\"0\"; keep such cells as text there.";

/** The percentages a user can ask for, as the help and the errors write them ("10 to 1000"). */
std::string percentRange() {
    return std::to_string(doc::kMinScalePercent) + " to " + std::to_string(doc::kMaxScalePercent);
}

constexpr const char* kExitStatusHelp =
    "Exit status:\n"
    "  command               0           1          2         3\n"
    "  show, export, sample  done        failed     mistake   -\n"
    "  import, scale         done        failed     mistake   unreported\n"
    "  diff                  same        different  trouble   -\n"
    "  check                 none found  found      trouble   -\n"
    "  merge, apply          merged      conflicts  trouble   unreported\n"
    "A failure's reason is on standard error; \"mistake\" is a mistake on the command line; "
    "\"trouble\" is one, or a failure; \"conflicts\": conflicts left, nothing written; "
    "\"unreported\": the files were written but the summary could not be printed (the change is "
    "made: do not run it again). import, scale, merge and apply wait up to --wait seconds "
    "(5 by default, 0 none) for a pair another cvnobj writes, then fail (1); a pair the editor "
    "holds fails at once; the refusal names the process that holds it where the system tells. "
    "Every message shows control characters escaped (\\x1b).";

constexpr const char* kMergeHelp =
    "Merge two modified copies of one original: BASE, the original; MINE, the copy written; "
    "THEIRS, the other copy. Each field and name changed on one side only takes that side's "
    "value; changed on both to the same value, it is taken once; changed on both differently, it "
    "is a conflict. Fields compare bit for bit, names as text. Records after BASE's last that "
    "one side added are appended; the same record added differently on both sides is a "
    "conflict. A copy with fewer records than BASE is refused. Each change taken from THEIRS "
    "is listed (\"record 12 damage: 100 -> 120 (theirs)\"), and so is each conflict "
    "(\"record 12 damage: base 100, mine 150, theirs 120\"). With a conflict left nothing is "
    "written (exit status 1). The merge goes into MINE through the editor's journaled save, or "
    "with -o into a new pair.";

constexpr const char* kApplyHelp =
    "Apply a patch (cvnobj diff A B --patch) to FILE as a merge whose original is the patch's "
    "\"before\" values and whose other copy is its \"after\" values: a field already holding "
    "the \"after\" value is left, one holding the \"before\" value takes the \"after\" value, "
    "one holding anything else is a conflict (\"record 12 damage: base 100, mine 150, patch "
    "120\"), and with a conflict left nothing is written (exit status 1). The patch's added "
    "records are appended. The header, the bytes after a name's end and after the last record "
    "stay those of FILE.";

/** "OLD:NEW" with both percentages in that range. */
std::string readPercentages(const std::string& text, doc::ScalePercentages& into) {
    const auto colon = text.find(':');
    const auto number = [](std::string_view part, int& value) {
        const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
        return ec == std::errc{} && end == part.data() + part.size() &&
               value >= doc::kMinScalePercent && value <= doc::kMaxScalePercent;
    };
    const std::string_view all(text);
    if (colon == std::string::npos || !number(all.substr(0, colon), into.from) ||
        !number(all.substr(colon + 1), into.to))
        return "expected OLD:NEW, two percentages from " + percentRange() + ", for example 100:150";
    return {};
}

/** "cvnobj: <what>" on standard error, escaped for a terminal. */
void reportFailure(std::string_view what) {
    const std::string message = "cvnobj: " + cli::support::messageForTerminal(what) + '\n';
    std::fwrite(message.data(), 1, message.size(), stderr);
}

/** Text on standard error, each line escaped for a terminal. */
void writeEscapedLines(std::string_view text) {
    std::string out;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        out += cli::support::messageForTerminal(text.substr(start, end - start));
        out += '\n';
        start = end + 1;
    }
    std::fwrite(out.data(), 1, out.size(), stderr);
}

} // namespace

int main(int argc, char** argv) {
    prepareStandardStreams();
    const std::vector<std::string> arguments = utf8Arguments(argc, argv);
    CLI::App app{"cvnobj: batch work on a Corvane object data file (OBJDAT.dat) and the names file "
                 "beside it (OBJDAT.nam), as the editor reads and writes them."};
    app.set_version_flag("--version", std::string("cvnobj ") + CORVANE_VERSION);
    app.require_subcommand(1);
    app.footer(kExitStatusHelp);
    app.fallthrough(false);

    std::string path, second, output, source;
    std::string format = "csv";
    std::optional<int> record;
    int count = 200;
    bool dryRun = false;
    bool byteOrderMark = false;
    bool patch = false;
    std::string prefer;
    doc::ScalePercentages damage{100, 100}, size{100, 100};
    std::string damageText, sizeText;

    auto* show = app.add_subcommand("show", "List the records, or every field of one record.");
    show->add_option("FILE", path, "the data file")->required();
    show->add_option("RECORD", record, "a record number");

    auto* exportCommand = app.add_subcommand(
        "export", "Write every record with its name as CSV (the default) or JSON: columns index, "
                  "name and the 25 fields by their short names.");
    exportCommand->add_option("FILE", path, "the data file")->required();
    exportCommand->add_option("--format", format, "csv or json")
        ->check(CLI::IsMember({"csv", "json"}));
    exportCommand->add_option("-o,--output", output,
                              "write to this file instead of standard output");
    exportCommand->add_flag(
        "--bom", byteOrderMark,
        "start the CSV with a UTF-8 byte-order mark: for a spreadsheet that opens a CSV without "
        "one in its local code page (Microsoft Excel does), where \"Café €\" would come back as "
        "\"CafÃ© â‚¬\" and import as a changed name");

    auto* importCommand = app.add_subcommand("import", kImportHelp);
    importCommand->add_option("FILE", path, "the data file")->required();
    importCommand->add_option("SOURCE", source, "the CSV or JSON file to read")->required();
    importCommand->add_flag("--dry-run", dryRun, "check and list the changes, write nothing");

    // Every writing command waits alike for a pair another cvnobj is writing.
    double waitSeconds = 5;
    const auto addWait = [&](CLI::App* command) {
        command
            ->add_option("--wait", waitSeconds,
                         "seconds to wait for a pair another cvnobj is writing (default 5; 0: "
                         "do not wait); a pair the editor holds is refused at once")
            ->check(CLI::Range(0.0, 86400.0));
    };
    addWait(importCommand);

    auto* scale = app.add_subcommand(
        "scale",
        "Rescale damage and sizes of every record whose class is not " +
            std::to_string(doc::kUnscaledClass) +
            ", as the editor's \"Apply to All Objects\" does, from the percentages the values are "
            "at to new ones. The editor's settings file is neither read nor written.");
    scale->add_option("FILE", path, "the data file")->required();
    scale->add_option("--damage", damageText,
                      "OLD:NEW damage percentages (" + percentRange() + ")");
    scale->add_option("--size", sizeText, "OLD:NEW size percentages (" + percentRange() + ")");
    addWait(scale);

    auto* diff = app.add_subcommand(
        "diff", "List the fields and names that differ between two data files, one line each. "
                "Exit status 0 when they are the same, 1 when they differ, 2 on trouble.");
    diff->add_option("A", path, "the first data file")->required();
    diff->add_option("B", second, "the second data file")->required();

    diff->add_flag("--patch", patch,
                   "write the differences as a patch file's JSON (for cvnobj apply): format "
                   "\"cvnobj-patch\", version 1, the record counts before and after, each "
                   "changed field and name with its value before and after, each added record "
                   "whole; values in the export's forms, as strings");

    auto* check = app.add_subcommand(
        "check",
        "Report what would stop or surprise the editor. Exit status 0 when nothing is found, 1 "
        "when something is, 2 on trouble.");
    check->add_option("FILE", path, "the data file")->required();

    auto* sample = app.add_subcommand(
        "sample", "Write a sample data file and its names file, made up by this program; neither "
                  "may exist yet.");
    sample->add_option("PATH", path, "the data file to create")->required();
    sample->add_option("COUNT", count, "records, 1 to 512 (default 200)")
        ->check(CLI::Range(1, doc::kTableCapacity));

    auto* merge = app.add_subcommand("merge", kMergeHelp);
    merge->add_option("BASE", path, "the original data file")->required();
    merge->add_option("MINE", second, "the modified copy the merge is written into")->required();
    merge->add_option("THEIRS", source, "the other modified copy")->required();
    merge->add_option("-o,--output", output,
                      "write the merge into this new data file and its names file instead of "
                      "MINE; neither may exist");

    auto* apply = app.add_subcommand("apply", kApplyHelp);
    apply->add_option("FILE", path, "the data file")->required();
    apply->add_option("PATCH", source, "the patch file")->required();
    for (CLI::App* command : {merge, apply}) {
        addWait(command);
        command->add_flag("--dry-run", dryRun, "list what would change, write nothing");
        command
            ->add_option("--prefer", prefer,
                         "settle every conflict with this side's value: mine or theirs (where "
                         "added records conflict, the preferred side's record)")
            ->check(CLI::IsMember({"mine", "theirs"}));
    }

    try {
        std::vector<const char*> pointers;
        for (const std::string& argument : arguments)
            pointers.push_back(argument.c_str());
        app.parse(static_cast<int>(pointers.size()), pointers.data());
        if (*scale && damageText.empty() && sizeText.empty())
            throw CLI::ValidationError("scale", "give --damage, --size or both");
        if (byteOrderMark && format != "csv")
            throw CLI::ValidationError("--bom", "only a CSV export takes a byte-order mark");
        for (const auto& [text, into, name] : {std::tuple{&damageText, &damage, "--damage"},
                                               std::tuple{&sizeText, &size, "--size"}}) {
            if (text->empty())
                continue;
            if (const std::string error = readPercentages(*text, *into); !error.empty())
                throw CLI::ValidationError(name, error);
        }
    } catch (const CLI::ParseError& e) {
        // The help and the version to standard output, which must take them whole; the reason
        // for a mistake, whatever arguments it quotes, escaped.
        std::ostringstream out, err;
        const int status = app.exit(e, out, err);
        const std::string help = out.str();
        std::fwrite(help.data(), 1, help.size(), stdout);
        writeEscapedLines(err.str());
        if (status != 0)
            return 2;
        try {
            cli::finishOutput();
        } catch (const std::exception& failure) {
            reportFailure(failure.what());
            return *diff || *check || *merge || *apply ? 2 : 1;
        }
        return 0;
    }

    try {
        int status = 0;
        cli::setWriterWait(std::chrono::milliseconds(std::llround(waitSeconds * 1000)));
        if (*show)
            status = cli::runShow(path, record);
        else if (*exportCommand)
            status = cli::runExport(
                path, format == "json" ? cli::ExportFormat::Json : cli::ExportFormat::Csv, output,
                byteOrderMark);
        else if (*importCommand)
            status = cli::runImport(path, source, dryRun);
        else if (*scale)
            status = cli::runScale(path, damage, size);
        else if (*diff)
            status = cli::runDiff(path, second, patch);
        else if (*check)
            status = cli::runCheck(path);
        else if (*sample)
            status = cli::runSample(path, count);
        else if (*merge || *apply) {
            cli::MergeOptions options;
            options.output = output;
            options.dryRun = dryRun;
            options.prefer = prefer == "mine"     ? cli::MergeOptions::Prefer::Mine
                             : prefer == "theirs" ? cli::MergeOptions::Prefer::Theirs
                                                  : cli::MergeOptions::Prefer::None;
            status = *merge ? cli::runMerge(path, second, source, options)
                            : cli::runApply(path, source, options);
        }
        cli::finishOutput();
        return status;
    } catch (const cli::UnreportedWrite& e) {
        reportFailure(e.what());
        return cli::kWrittenUnreported;
    } catch (const std::exception& e) {
        std::fflush(stdout);
        reportFailure(e.what());
        // diff, check, merge and apply keep 1 for what they found: their trouble is 2.
        return *diff || *check || *merge || *apply ? 2 : 1;
    }
}

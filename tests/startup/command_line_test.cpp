// The command line from the arguments as given through the option table to the settings.

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "common/run_log.h"
#include "purge/purge_settings.h"
#include "startup/command_line_options.h"
#include "support/scoped_locale.h"

namespace sorvane {
namespace {

using Texts = std::vector<std::string>;

Texts Fields(const PurgeSettings& s, int manualPages, bool debug) {
    auto text = [](const auto& v) { return v.index() ? "'" + std::get<1>(v) + "'" : std::to_string(std::get<0>(v)); };
    return {"days=" + std::to_string(s.days), "dsn=" + s.dsn, "table=" + s.tableName, "user=" + s.userName,
            "pass=" + s.password, "trip=" + std::to_string(s.recordsPerTrip), "timecol=" + s.timeColumn,
            "sep=" + s.separator, "esc=" + s.escapeText, "filename=" + s.fileName, "fileex=" + s.fileExtension,
            "delete=" + std::to_string(s.deleteRows), "backup=" + std::to_string(s.backupRows),
            "filepath=" + s.filePath, "overwrite=" + text(s.overwrite), "includedate=" + text(s.includeDate),
            "mode=" + std::to_string(s.commandLineMode), "manual=" + std::to_string(manualPages),
            "debug=" + std::to_string(debug ? -1 : 0)};
}

// The refusal with its debug-log note, or the fields that differ from the
// defaults (manual pages asked for and -debug included).
std::string Outcome(const Texts& arguments) {
    const CommandLineReading reading = ReadCommandLine(arguments);
    if (reading.refusal) {
        const Refusal& r = *reading.refusal;
        return r.message + (r.rejectedValueNote.empty() ? "" : " | " + r.rejectedValueNote);
    }
    RunLog runLog;
    PurgeSettings settings;
    int manualPages = 0;
    const ShowManualPage countPages = [&] { ++manualPages; };
    LongOptions longOptions;
    OptionTarget target{settings, longOptions, runLog, countPages};
    ApplyOptions(reading.uses, target);
    const Texts defaults = Fields(PurgeSettings{}, 0, false);
    const Texts fields = Fields(settings, manualPages, runLog.DebugEnabled());
    std::string outcome;
    for (std::size_t i = 0; i < fields.size(); ++i) outcome += fields[i] != defaults[i] ? fields[i] + " " : "";
    return outcome;
}

const std::string kNoOption = ": it names no option (option names start the argument; letter case matters)";
const std::string kNotNumeric = "The Value for ndays must be numeric!";

TEST(CommandLineOptions, EachArgumentSetsExactlyItsFieldOrTheLineIsRefused) {
    test::ScopedLocale locale("C.UTF-8");
    Texts overLong(22, "-debug");
    overLong.push_back("-dsn=x");
    const std::pair<Texts, std::string> cases[] = {
        {{"-dsn=EventsDB", "-ndays=30", "-backup=1", "-delete=1", "-filepath=D:\\archive", "-includedate=1", "-debug"},
         "days=30 dsn=EventsDB delete=-1 backup=-1 filepath=D:\\archive includedate='1' debug=-1 "},
        {{"-table=Log", "-user=me", "-pass=secret", "-sep=;", "-esc='", "-filename=old", "-fileex=.txt", "-overwrite=1"},
         "table=Log user=me pass=secret sep=; esc=' filename=old fileex=.txt overwrite='1' "},
        {{"-ndays:30", "-dsn/x"}, "days=30 dsn=x "}, {{"-ndays 30", "-dsn=a", "-dsn=b"}, "days=30 dsn=b "},
        {{"-table=", "-sep", "", " \t "}, "table= sep= "},
        // The name starts the argument: a value never sets another option.
        {{"-dsn=my-host", "-h", "-help"}, "dsn=my-host manual=2 "},
        {{"-filepath=/srv/logs-delete=1", "-table=x-backup=0"}, "table=x-backup=0 filepath=/srv/logs-delete=1 "},
        {{"-filepath=/var/backups/syslog-backuponly-debug-h"}, "filepath=/var/backups/syslog-backuponly-debug-h "},
        // Taken as given: a tab stays a tab, a quote is part of the value and groups nothing.
        {{"-sep=\t", "-pass=a\"b", "-filename=say \"hi", "-delete=1"},
         "pass=a\"b sep=\t filename=say \"hi delete=-1 "},
        // A password argument sets the password alone, whatever follows -pass.
        {{"-pass=horse-table-staple", "-pass=x-delete-debug-h", "-pass=kiwi-user-lamp9 Tr0ub4dor-sep;X9"},
         "pass=kiwi-user-lamp9 Tr0ub4dor-sep;X9 "},
        {{"-debug", "-passwd=-ndays=abc-delete=1x"}, "pass=d=-ndays=abc-delete=1x debug=-1 "},
        {{"-timecol=DeviceReportedTime", "-includedate=0", "-overwrite=1.0"},
         "timecol=DeviceReportedTime overwrite='1.0' includedate='0' "},
        {{"-ndays=-2.5", "-delrecpertrip=7.9"}, "days=-3 trip=7 "}, {{"-ndays= +1.5e2 "}, "days=150 "},
        {{"-ndays=-32768", "-delrecpertrip=2147483647.99"}, "days=-32768 trip=2147483647 "},
        {{"-backup=TRUE", "-delete=0.5"}, "delete=-1 backup=-1 "}, {{"-backup=-1", "-backup=False", "-delete=tRuE", "-delete=0.0"}, ""},
        // Refused, naming the first argument at fault.
        {{"-dsn=Syslog", "-delete=1", "-ndays", "30"},
         "Refused argument 3, \"-ndays\": the value of -ndays must be a number | " + kNotNumeric},
        {{"-dsn=x", "30"}, "Refused argument 2, \"30\"" + kNoOption},
        {{"-Ndays=30"}, "Refused argument 1, \"-Ndays=30\"" + kNoOption},
        {{"-nday=30"}, "Refused argument 1, \"-nday=30\"" + kNoOption},
        {{"--ndays=30"}, "Refused argument 1, \"--ndays=30\"" + kNoOption},
        {{"-DSN=x"}, "Refused argument 1, \"-DSN=x\"" + kNoOption},
        {{"x-dsn=abc"}, "Refused argument 1, \"x-dsn=abc\"" + kNoOption},
        {{" -dsn=x"}, "Refused argument 1, \" -dsn=x\"" + kNoOption},
        {{"-ndays=3O"}, "Refused argument 1, \"-ndays=3O\": the value of -ndays must be a number | " + kNotNumeric},
        {{"-ndays="}, "Refused argument 1, \"-ndays=\": the value of -ndays must be a number | " + kNotNumeric},
        {{"-delrecpertrip=x"}, "Refused argument 1, \"-delrecpertrip=x\": the value of -delrecpertrip must be a number"
                               " | The Value for delrecpertrip must be numeric!"},
        {{"-timecol=receivedat"}, "Refused argument 1, \"-timecol=receivedat\": the value of -timecol must be "
                                  "ReceivedAt or DeviceReportedTime, in that letter case | -timecol must have one "
                                  "of the following Options: ReceivedAt/DeviceReportedTime !"},
        {{"-ndays=32768"}, "Refused argument 1, \"-ndays=32768\": the value of -ndays must lie between -32768 and 32767"},
        {{"-delrecpertrip=2147483648"}, "Refused argument 1, \"-delrecpertrip=2147483648\": the value of "
                                        "-delrecpertrip must lie between -2147483648 and 2147483647"},
        {{"-dsn=a", "-backup", "-dsn=b"}, "Refused argument 2, \"-backup\": the value of -backup must be true, false or a number"},
        {{"-delete=1x"}, "Refused argument 1, \"-delete=1x\": the value of -delete must be true, false or a number"},
        {{"-includedate=yes"}, "Refused argument 1, \"-includedate=yes\": the value of -includedate must be a number (1 is on)"},
        {{"-overwrite="}, "Refused argument 1, \"-overwrite=\": the value of -overwrite must be a number (1 is on)"},
        {{"-ndays30"}, "Refused argument 1, \"-ndays30\": -ndays must be followed by one separator character, such as =, and its value"},
        {{"-debugx"}, "Refused argument 1, \"-debugx\": -debug takes no value"},
        {{"-h=1"}, "Refused argument 1, \"-h=1\": -h takes no value"},
        {{"-hlep"}, "Refused argument 1, \"-hlep\": -h takes no value"},
        {{"--versions"}, "Refused argument 1, \"--versions\": --version takes no value"},
        {{"--dryrun"}, "Refused argument 1, \"--dryrun\"" + kNoOption},
        // Control characters are shown as escapes, so the refusal stays one line.
        {{"-dsn=x", "a\tb\nc"}, "Refused argument 2, \"a\\tb\\x0ac\"" + kNoOption},
        // The word after a bare -pass may be the password: its text is not shown.
        {{"-dsn=x", "-pass", "s3cret"},
         "Refused argument 3 (not shown: it may be the password meant for the -pass before it)" + kNoOption},
        // Arguments of blanks alone are passed over and not counted.
        {overLong, "Refused argument 23, \"-dsn=x\": the program reads at most 22 arguments"},
    };
    for (const auto& [arguments, expected] : cases) {
        SCOPED_TRACE(arguments.empty() ? "" : arguments.back());
        EXPECT_EQ(Outcome(arguments), expected);
    }
    Texts twentyTwo(22, "-debug");
    twentyTwo.insert(twentyTwo.begin() + 3, {"", " "});
    EXPECT_EQ(Outcome(twentyTwo), "debug=-1 ");
}

TEST(CommandLineOptions, ARunWithoutOptionsIsAWindowRun) {
    const char* argv[] = {"sorvane", "", " \t", "-dsn=a b"};
    EXPECT_EQ(ArgumentsAsGiven(4, argv), (Texts{"", " \t", "-dsn=a b"}));
    EXPECT_FALSE(HasCommandLineOptions(ArgumentsAsGiven(3, argv)));
    EXPECT_TRUE(HasCommandLineOptions(ArgumentsAsGiven(4, argv)));
}

TEST(HidePasswordArguments, OverwritesOnlyThePasswordValue) {
    std::string arguments[] = {"sorvane", "-user=me", "-pass=se cret", "-pass", "x-pass=open"};
    std::vector<char*> argv;
    for (auto& argument : arguments) argv.push_back(argument.data());
    HidePasswordArguments(int(argv.size()), argv.data());
    EXPECT_EQ(Texts(std::begin(arguments), std::end(arguments)),
              (Texts{"sorvane", "-user=me", "-pass=xxxxxxx", "-pass", "x-pass=open"}));
}

}  // namespace
}  // namespace sorvane

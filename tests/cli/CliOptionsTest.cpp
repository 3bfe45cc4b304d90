#include "cli/CliOptions.h"

#include <gtest/gtest.h>

namespace {

CliParse parse(const QStringList& args) {
    return ParseCliArguments(args);
}

TEST(CliOptionsTest, CommonOptionsGoBeforeOrAfterTheCommandInEitherForm) {
    const CliParse p = parse(
        {"--config", "/etc/c.xml", "read",     "--page", "Basic",       "--page=Net", "--port=/dev/ttyUSB1",
         "--baud",   "115200",     "--parity", "e",      "--data-bits", "7",          "--stop-bits",
         "1.5",      "--json",     "--lang",   "zh",     "--out",       "a.csv"});
    ASSERT_TRUE(p.ok()) << p.error.toStdString();
    const CliOptions& o = p.options;
    EXPECT_EQ(o.command, CliOptions::Command::Read);
    EXPECT_EQ(o.configPath, "/etc/c.xml");
    EXPECT_EQ(o.pages, (QStringList{"Basic", "Net"}));
    EXPECT_EQ(o.port, "/dev/ttyUSB1");
    EXPECT_EQ(o.baud, "115200");
    EXPECT_EQ(o.parity, "E");
    EXPECT_EQ(o.dataBits, "7");
    EXPECT_EQ(o.stopBits, "1.5");
    EXPECT_TRUE(o.json);
    EXPECT_EQ(o.lang, "zh");
    EXPECT_EQ(o.out, "a.csv");
}

TEST(CliOptionsTest, CommandsTakeTheirArgumentAndOptions) {
    CliParse p = parse({"write", "ref.csv", "--yes"});
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(p.options.argument, "ref.csv");
    EXPECT_TRUE(p.options.yes);

    p = parse({"send", "--", "--not-an-option"});
    ASSERT_TRUE(p.ok()) << p.error.toStdString();
    EXPECT_EQ(p.options.argument, "--not-an-option");

    p = parse({"send", ""});
    ASSERT_TRUE(p.ok()) << "an empty line is still a line to send";

    p = parse({"poll", "--page", "Live", "--interval", "250", "--for", "1.5m"});
    ASSERT_TRUE(p.ok()) << p.error.toStdString();
    EXPECT_EQ(p.options.intervalMs, 250);
    EXPECT_EQ(p.options.forMs, 90000);
    EXPECT_FALSE(p.options.count);

    p = parse({"read", "--help"});
    EXPECT_TRUE(p.options.help);
    EXPECT_EQ(p.options.command, CliOptions::Command::Read);
    EXPECT_TRUE(CliUsage(CliOptions::Command::Read).startsWith("Usage: tervalon-cli read"));
}

TEST(CliOptionsTest, MistakesAreNamedInOneLine) {
    const QList<std::pair<QStringList, QString>> cases = {
        {{}, "no command given"},
        {{"reed"}, "unknown command \"reed\""},
        {{"read", "--colour"}, "unknown option --colour"},
        {{"read", "--out"}, "--out needs a value"},
        {{"read", "--count", "3"}, "read does not take --count"},
        {{"--yes", "read"}, "read does not take --yes"},
        {{"ports", "--page", "x"}, "ports does not take --page"},
        {{"read", "extra"}, "unexpected argument \"extra\""},
        {{"compare"}, "compare needs FILE.csv"},
        {{"write", "a.csv", "--yes", "--dry-run"}, "write takes --yes or --dry-run, not both"},
        {{"poll"}, "poll needs exactly one --page NAME"},
        {{"poll", "--page", "a", "--page", "b"}, "poll needs exactly one --page NAME"},
        {{"poll", "--page", "a", "--count", "1", "--for", "1s"}, "poll takes --count or --for, not both"},
        {{"poll", "--page", "a", "--count", "0"}, "--count needs a positive whole number, not \"0\""},
        {{"poll", "--page", "a", "--interval", "5"},
         "--interval is a number of milliseconds from 10 to 3600000, not \"5\""},
        {{"read", "--baud", "-9600"}, "--baud needs a positive whole number, not \"-9600\""},
        {{"read", "--data-bits", "9"}, "--data-bits is 5, 6, 7 or 8, not \"9\""},
        {{"read", "--stop-bits", "3"}, "--stop-bits is 1, 1.5 or 2, not \"3\""},
        {{"read", "--lang", "de"}, "--lang is en or zh, not \"de\""},
        {{"read", "--json=yes"}, "--json takes no value"},
    };
    for (const auto& [args, error] : cases) {
        const CliParse p = parse(args);
        EXPECT_EQ(p.error, error) << args.join(' ').toStdString();
        EXPECT_FALSE(p.error.contains('\n'));
    }
}

TEST(CliOptionsTest, DurationsHaveAUnitOrAreSeconds) {
    EXPECT_EQ(ParseDuration("3"), 3000);
    EXPECT_EQ(ParseDuration("3s"), 3000);
    EXPECT_EQ(ParseDuration("250ms"), 250);
    EXPECT_EQ(ParseDuration("2m"), 120000);
    EXPECT_EQ(ParseDuration("1h"), 3600000);
    EXPECT_EQ(ParseDuration("0.5s"), 500);
    for (const char* bad : {"", "s", "-1s", "0", "0.0001s", "1d", "1 s s", "1e3"})
        EXPECT_FALSE(ParseDuration(bad)) << bad;
}

} // namespace

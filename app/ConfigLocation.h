#pragma once

#include <QString>
#include <QStringList>

// Where the console finds config.xml. A portable copy keeps its file beside the executable; an
// installed console cannot write there, so it works on the user's own file, which it makes
// from the installed example the first time.
struct ConfigSearch {
    QString explicitPath;  // --config FILE, or empty
    QString executableDir; // folder of the running program
    QString userConfigDir; // $XDG_CONFIG_HOME or ~/.config
    QString exampleDir;    // where the installed example config.xml and banner.jpg live
};

struct ConfigLocation {
    QString path; // the configuration file to use (absolute)
    bool besideExecutable = false;
    QString error; // set when the user's file could not be made from the example
    // Every place looked in, in order, for the message when none of them has the file.
    QStringList searched;
};

ConfigLocation FindConfigFile(const ConfigSearch& search);

// The search for the running program: its folder, the XDG folder, and the example installed
// under <prefix>/share/tervalon beside <prefix>/bin.
ConfigSearch DefaultConfigSearch(const QString& explicitPath);

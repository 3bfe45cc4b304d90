<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>Cli</name>
    <message numerus="yes">
        <source>%n parameter(s) differ from the snapshot:
</source>
        <translation>
            <numerusform>%n parameter differs from the snapshot:
</numerusform>
            <numerusform>%n parameters differ from the snapshot:
</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>
%n parameter(s) did not answer and were not compared:
</source>
        <translation>
            <numerusform>
%n parameter did not answer and was not compared:
</numerusform>
            <numerusform>
%n parameters did not answer and were not compared:
</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Write these %n parameter(s)? [y/N] </source>
        <translation>
            <numerusform>Write this parameter? [y/N] </numerusform>
            <numerusform>Write these %n parameters? [y/N] </numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>These %n parameter(s) would be written to the device:
</source>
        <translation>
            <numerusform>This parameter would be written to the device:
</numerusform>
            <numerusform>These %n parameters would be written to the device:
</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>
%n parameter(s) did not answer:
</source>
        <translation>
            <numerusform>
%n parameter did not answer:
</numerusform>
            <numerusform>
%n parameters did not answer:
</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n snapshot row(s) match no parameter (address and tag):
</source>
        <translation>
            <numerusform>%n snapshot row matches no parameter (address and tag):
</numerusform>
            <numerusform>%n snapshot rows match no parameter (address and tag):
</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Commissioning</name>
    <message numerus="yes">
        <source>... and %n more</source>
        <translation>
            <numerusform>... and %n more</numerusform>
            <numerusform>... and %n more</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>These %n parameter(s) will be written to the device:
</source>
        <translation>
            <numerusform>This parameter will be written to the device:
</numerusform>
            <numerusform>These %n parameters will be written to the device:
</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n parameter(s) saved to %1</source>
        <translation>
            <numerusform>%n parameter saved to %1</numerusform>
            <numerusform>%n parameters saved to %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n parameter(s) differ from the snapshot:
</source>
        <translation>
            <numerusform>%n parameter differs from the snapshot:
</numerusform>
            <numerusform>%n parameters differ from the snapshot:
</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n parameter(s) did not answer:</source>
        <translation>
            <numerusform>%n parameter did not answer:</numerusform>
            <numerusform>%n parameters did not answer:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n parameter(s) did not answer and will not be written:</source>
        <translation>
            <numerusform>%n parameter did not answer and will not be written:</numerusform>
            <numerusform>%n parameters did not answer and will not be written:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n parameter(s) did not answer and were not written:</source>
        <translation>
            <numerusform>%n parameter did not answer and was not written:</numerusform>
            <numerusform>%n parameters did not answer and were not written:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n parameter(s) did not answer and were not compared:</source>
        <translation>
            <numerusform>%n parameter did not answer and was not compared:</numerusform>
            <numerusform>%n parameters did not answer and were not compared:</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LanguageGaps</name>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>and %n more</numerusform>
            <numerusform>and %n more</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SnapshotCheck</name>
    <message numerus="yes">
        <source>%n parameter(s) loaded</source>
        <translation>
            <numerusform>%n parameter loaded</numerusform>
            <numerusform>%n parameters loaded</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>... and %n more row(s)</source>
        <translation>
            <numerusform>... and %n more row</numerusform>
            <numerusform>... and %n more rows</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>; %n row(s) not loaded, their parameters left as they were:
</source>
        <translation>
            <numerusform>; %n row not loaded, its parameter left as it was:
</numerusform>
            <numerusform>; %n rows not loaded, their parameters left as they were:
</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TrendReading</name>
    <message numerus="yes">
        <source> The oldest %n values no longer fitted in memory and are not in it.</source>
        <translation>
            <numerusform> The oldest value no longer fitted in memory and is not in it.</numerusform>
            <numerusform> The oldest %n values no longer fitted in memory and are not in it.</numerusform>
        </translation>
    </message>
</context>
</TS>

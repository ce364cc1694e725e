<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- A product's translation file in miniature: the contexts are the plain class names and
     QObject, as a translator writes them. Compiled by the build for test_mainwindow. -->
<TS version="2.1" language="fr">
<context>
    <name>MousecfgWidget</name>
    <message>
        <source>&amp;Load Config</source>
        <translation>[window] Load Config</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>[window] Quit</translation>
    </message>
</context>
<context>
    <name>KivMessageBox</name>
    <message>
        <source>Yes</source>
        <translation>[box] Yes</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>[box] Ok</translation>
    </message>
    <message>
        <source>No</source>
        <translation>[box] No</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Apply</source>
        <translation>[free] Apply</translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>QObject</name>
    <message>
        <source>不可重复开启进程</source>
        <translation>The program is already running</translation>
    </message>
</context>
<context>
    <name>TrainRecord</name>
    <message>
        <source>被动</source>
        <translation>Passive</translation>
    </message>
    <message>
        <source>主动</source>
        <translation>Active</translation>
    </message>
    <message>
        <source>助力</source>
        <translation>Assisted</translation>
    </message>
    <message>
        <source>等速</source>
        <translation>Isokinetic</translation>
    </message>
    <message>
        <source>上肢带下肢</source>
        <translation>Upper Limb Drives Lower</translation>
    </message>
    <message>
        <source>下肢带上肢</source>
        <translation>Lower Limb Drives Upper</translation>
    </message>
    <message>
        <source>主被动</source>
        <translation>Passive&amp; Active</translation>
    </message>
    <message>
        <source>FES</source>
        <translation>FES</translation>
    </message>
    <message>
        <source>水平上肢</source>
        <translation>Horizontal Limb</translation>
    </message>
    <message>
        <source>下肢</source>
        <translation>Lower Limb</translation>
    </message>
    <message>
        <source>上下肢</source>
        <translation>Upper and Lower</translation>
    </message>
    <message>
        <source>垂直上肢</source>
        <translation>Vertical Limb</translation>
    </message>
</context>
</TS>

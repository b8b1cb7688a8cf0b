<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>SearchDialog</name>
    <message>
        <source>Find the module</source>
        <translation>查找模块</translation>
    </message>
    <message>
        <source>The cycle is running: Start stops it first, as &quot;停止&quot; does.</source>
        <translation>循环采集正在进行：开始前会先停止它，如同&quot;停止&quot;。</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Use</source>
        <translation>使用</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>%1 baud</source>
        <translation>%1 波特</translation>
    </message>
    <message>
        <source> ms per station</source>
        <translation> 毫秒/站</translation>
    </message>
    <message>
        <source>to</source>
        <translation>至</translation>
    </message>
    <message>
        <source>Stations</source>
        <translation>站号</translation>
    </message>
    <message>
        <source>Go on after the first module found</source>
        <translation>找到第一个模块后继续查找</translation>
    </message>
    <message>
        <source>Port: %1</source>
        <translation>串口：%1</translation>
    </message>
    <message>
        <source>The search cannot start: %1</source>
        <translation>无法开始查找：%1</translation>
    </message>
    <message>
        <source>Nothing to search: choose a baud rate and a station range.</source>
        <translation>没有可查找的内容：请选择波特率和站号范围。</translation>
    </message>
    <message>
        <source>The cycle was stopped for the search, as &quot;停止&quot; would.</source>
        <translation>为进行查找已停止循环采集，如同&quot;停止&quot;。</translation>
    </message>
    <message>
        <source>Waiting for the exchange in progress to end…</source>
        <translation>正在等待当前通信结束…</translation>
    </message>
    <message>
        <source>%1 baud, station %2: %3 of %4 probes, %5 s</source>
        <translation>%1 波特，站号 %2：已探测 %3 / %4 次，用时 %5 秒</translation>
    </message>
    <message>
        <source>Station %1 at %2 baud: the module (baud-rate register %3, station register %4)</source>
        <translation>站号 %1，%2 波特：找到模块（波特率寄存器 %3，地址寄存器 %4）</translation>
    </message>
    <message>
        <source>Station %1 at %2 baud: a device answers here (exception %3)</source>
        <translation>站号 %1，%2 波特：此处有设备应答（异常码 %3）</translation>
    </message>
    <message>
        <source>Station %1 at %2 baud: a device answers here (baud-rate register %3, station register %4)</source>
        <translation>站号 %1，%2 波特：此处有设备应答（波特率寄存器 %3，地址寄存器 %4）</translation>
    </message>
    <message>
        <source>%1 baud: something is on the line at this baud</source>
        <translation>%1 波特：此波特率下线路上有信号</translation>
    </message>
    <message>
        <source>The search is done.</source>
        <translation>查找完成。</translation>
    </message>
    <message>
        <source>A module was found; the search ended there.</source>
        <translation>已找到模块，查找到此结束。</translation>
    </message>
    <message>
        <source>The search was stopped.</source>
        <translation>查找已停止。</translation>
    </message>
    <message>
        <source>The search ended: %1</source>
        <translation>查找结束：%1</translation>
    </message>
    <message>
        <source>Use (station %1)</source>
        <translation>使用（站号 %1）</translation>
    </message>
    <message>
        <source>Use (station %1, and switch to %2 baud)</source>
        <translation>使用（站号 %1，并切换到 %2 波特）</translation>
    </message>
    <message>
        <source>Find the module…</source>
        <translation>查找模块…</translation>
    </message>
    <message>
        <source>The search is done: no module answered.</source>
        <translation>查找完成：没有模块应答。</translation>
    </message>
</context>
</TS>

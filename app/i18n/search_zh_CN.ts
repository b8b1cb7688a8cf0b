<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>SearchDialog</name>
    <message>
        <location filename="../search_dialog.cpp" line="110"/>
        <source>Find the module</source>
        <translation>查找模块</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="51"/>
        <source>%1 s</source>
        <translation>%1 秒</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="52"/>
        <source>%1 min %2 s</source>
        <translation>%1 分 %2 秒</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="61"/>
        <source>the module (baud-rate register %1, station register %2)</source>
        <translation>本模块（波特率寄存器 %1，站号寄存器 %2）</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="67"/>
        <source>a device that refuses the read (exception %1)</source>
        <translation>拒绝读取的设备（异常码 %1）</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="70"/>
        <source>another device (baud-rate register %1, station register %2)</source>
        <translation>其他设备（波特率寄存器 %1，站号寄存器 %2）</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="75"/>
        <source>unreadable bytes: something is on the line at this baud</source>
        <translation>无法识别的字节：此波特率下线路上有设备</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="121"/>
        <source>The cycle is running: Start stops it first, as “停止” does.</source>
        <translation>循环采集正在进行：“开始”会先停止它，如同“停止”按钮。</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="139"/>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="140"/>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="141"/>
        <location filename="../search_dialog.cpp" line="431"/>
        <source>Use</source>
        <translation>使用</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="142"/>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="176"/>
        <source>%1 baud</source>
        <translation>%1 波特</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="181"/>
        <source> ms per station</source>
        <translation> 毫秒/站</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="191"/>
        <source>to</source>
        <translation>至</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="194"/>
        <source>Stations</source>
        <translation>站号</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="197"/>
        <source>Go on after the first module found</source>
        <translation>找到第一个模块后继续查找</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="207"/>
        <source>Station</source>
        <translation>站号</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="207"/>
        <source>Baud</source>
        <translation>波特率</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="207"/>
        <source>What answered</source>
        <translation>应答者</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="207"/>
        <source>Reply time</source>
        <translation>应答时间</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="235"/>
        <source>Port: %1</source>
        <translation>串口：%1</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="236"/>
        <location filename="../search_dialog.cpp" line="415"/>
        <source>The search cannot start: %1</source>
        <translation>无法开始查找：%1</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="248"/>
        <source>Nothing to search: choose a baud rate and a station range.</source>
        <translation>没有可查找的内容：请选择波特率和站号范围。</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="249"/>
        <source>%1 probes planned, about %2.</source>
        <translation>计划探测 %1 次，约需 %2。</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="289"/>
        <source>The cycle was stopped for the search, as “停止” would.</source>
        <translation>为进行查找，循环采集已停止，如同按下“停止”。</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="296"/>
        <source>%v of %m probes</source>
        <translation>已探测 %v / %m 次</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="352"/>
        <source>%1 baud, station %2; %3 s so far, about %4 left.</source>
        <translation>%1 波特，站号 %2；已用 %3 秒，约剩 %4。</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="365"/>
        <source>%1 ms</source>
        <translation>%1 毫秒</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="382"/>
        <source>%1 of %2 probes</source>
        <translation>已探测 %1 / %2 次</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="384"/>
        <source>Ended after %1 s.</source>
        <translation>用时 %1 秒后结束。</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="389"/>
        <source>The port could not be set back to %1: %2. The next read opens it again once the adapter is back.</source>
        <translation>串口未能恢复为 %1：%2。适配器重新接上后，下一次读取会自动重新打开它。</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="411"/>
        <source>The search ended: the port went away.</source>
        <translation>查找结束：串口已断开。</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="455"/>
        <source>Station %1 is in the station box now.</source>
        <translation>站号 %1 已填入设备地址框。</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="463"/>
        <source>Station %1 is in the station box, but the port could not be opened at %2 baud: %3</source>
        <translation>站号 %1 已填入设备地址框，但无法以 %2 波特打开串口：%3</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="470"/>
        <source>Station %1 is in the station box; the port works at %2 baud now, but this could not be saved in %3 for the next start.</source>
        <translation>站号 %1 已填入设备地址框；串口现以 %2 波特工作，但未能保存到 %3，下次启动不会沿用。</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="475"/>
        <source>Station %1 is in the station box; the port works at %2 baud now, and keeps it at the next start.</source>
        <translation>站号 %1 已填入设备地址框；串口现以 %2 波特工作，下次启动时沿用。</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="299"/>
        <source>Waiting for the exchange in progress to end…</source>
        <translation>正在等待当前通信结束…</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="403"/>
        <source>The search is done.</source>
        <translation>查找完成。</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="404"/>
        <source>The search is done: no module answered. The usual causes:
• the lines A and B are swapped;
• the bus has no termination resistor at its ends;
• the module has no power;
• the module works at another baud rate: tick both.</source>
        <translation>查找完成：没有模块应答。常见原因：
• A、B 两线接反；
• 总线两端没有终端电阻；
• 模块没有通电；
• 模块使用其他波特率：请勾选两个波特率。</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="409"/>
        <source>A module was found; the search ended there.</source>
        <translation>已找到模块，查找到此结束。</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="410"/>
        <source>The search was stopped.</source>
        <translation>查找已停止。</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="433"/>
        <source>Use (station %1)</source>
        <translation>使用（站号 %1）</translation>
    </message>
    <message>
        <location filename="../search_dialog.cpp" line="434"/>
        <source>Use (station %1, and switch to %2 baud)</source>
        <translation>使用（站号 %1，并切换到 %2 波特）</translation>
    </message>
    <message>
        <location filename="../search_feature.cpp" line="16"/>
        <source>Find the module…</source>
        <translation>查找模块…</translation>
    </message>
</context>
</TS>

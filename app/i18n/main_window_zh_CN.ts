<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>MainWindow</name>
    <message>
        <source>&amp;File</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>工具(&amp;T)</translation>
    </message>
    <message>
        <source>Calibrate</source>
        <translation>校准</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Right-click: trend of the live values (Ctrl+T), record them to a file</source>
        <translation>右键：实时值趋势（Ctrl+T），记录到文件</translation>
    </message>
    <message>
        <source>Right-click: calibrate this coefficient, save the module&apos;s parameters to a file, load them from a file</source>
        <translation>右键：校准此系数，保存模块参数到文件，从文件载入参数</translation>
    </message>
    <message>
        <source>Right-click: save the module&apos;s parameters to a file, load them from a file</source>
        <translation>右键：保存模块参数到文件，从文件载入参数</translation>
    </message>
    <message>
        <source>Right-click: find the module when its station or baud is unknown</source>
        <translation>右键：不知道设备地址或波特率时查找模块</translation>
    </message>
    <message>
        <source>Open the trend window</source>
        <translation>打开趋势窗口</translation>
    </message>
    <message>
        <source>%1 Recording to %2: %3 rows</source>
        <translation>%1 正在记录到 %2：%3 行</translation>
    </message>
    <message>
        <source>Recording to %1. Click to open the trend window.</source>
        <translation>正在记录到 %1。单击打开趋势窗口。</translation>
    </message>
    <message>
        <source>No answer to the last %1 reads from station %2 at %3 baud. Check the wiring, or look for the module with Tools → Find the module…</source>
        <translation>最近 %1 次读取，设备地址 %2、波特率 %3 均无应答。请检查接线，或用“工具 → 查找模块…”查找模块。</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;RV4820 tool&lt;/b&gt;, version %1&lt;/p&gt;&lt;p&gt;Free software under the GNU General Public License, version 3 or any later version (GPL-3.0-or-later). It comes with no warranty.&lt;/p&gt;&lt;p&gt;Port settings (comm.set, ModSet.set and the COM links): %2&lt;br&gt;Recordings and saved parameters: where you choose them, first offered in %3&lt;br&gt;Calibration backups: %4&lt;/p&gt;&lt;p&gt;From the menus: &lt;i&gt;File&lt;/i&gt; saves the module&apos;s parameters to a file, loads them back into the boxes and records the live values to a CSV file; &lt;i&gt;Tools&lt;/i&gt; opens the trend of the live values (Ctrl+T), finds a module whose station or baud is unknown, and calibrates each coefficient. The boxes&apos; context menus offer the same.&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;RV4820工具&lt;/b&gt;，版本 %1&lt;/p&gt;&lt;p&gt;自由软件，依据 GNU 通用公共许可证第 3 版或（由您选择）任何更高版本（GPL-3.0-or-later）发布，不提供任何担保。&lt;/p&gt;&lt;p&gt;串口设置（comm.set、ModSet.set 和 COM 链接）：%2&lt;br&gt;记录和保存的参数：由您选择位置，默认建议 %3&lt;br&gt;校准备份：%4&lt;/p&gt;&lt;p&gt;菜单中的功能：&lt;i&gt;文件&lt;/i&gt;——保存模块参数到文件，从文件载入参数到输入框，把实时值记录到 CSV 文件；&lt;i&gt;工具&lt;/i&gt;——实时值趋势（Ctrl+T），在不知道设备地址或波特率时查找模块，校准各个系数。各输入框的右键菜单提供相同的功能。&lt;/p&gt;</translation>
    </message>
</context>
</TS>

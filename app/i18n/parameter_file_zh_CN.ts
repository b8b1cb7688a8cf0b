<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>ParameterActions</name>
    <message>
        <source>Save the module&apos;s parameters to a file…</source>
        <translation>保存模块参数到文件…</translation>
    </message>
    <message>
        <source>Load parameters from a file…</source>
        <translation>从文件载入参数…</translation>
    </message>
    <message>
        <source>Parameter files (*.txt);;All files (*)</source>
        <translation>参数文件 (*.txt);;所有文件 (*)</translation>
    </message>
    <message>
        <source>Save the module&apos;s parameters</source>
        <translation>保存模块参数</translation>
    </message>
    <message>
        <source>Load parameters</source>
        <translation>载入参数</translation>
    </message>
    <message>
        <source>The module did not answer correctly. Nothing was saved.</source>
        <translation>模块没有正确应答，未保存任何内容。</translation>
    </message>
    <message>
        <source>The parameters could not be saved to %1: %2</source>
        <translation>参数无法保存到 %1：%2</translation>
    </message>
    <message>
        <source>The module&apos;s parameters were saved to %1.</source>
        <translation>模块参数已保存到 %1。</translation>
    </message>
    <message>
        <source>%1 was not loaded. Line %2: %3.</source>
        <translation>未载入 %1。第 %2 行：%3。</translation>
    </message>
    <message>
        <source>%1 was not loaded: %2.</source>
        <translation>未载入 %1：%2。</translation>
    </message>
    <message>
        <source>The ten parameters of %1 are in the boxes. Nothing was sent to the module: write each value you want with its “写” button.</source>
        <translation>%1 中的十个参数已填入各框，尚未向模块发送任何内容：请用各自的“写”按钮写入需要的值。</translation>
    </message>
    <message>
        <source>%1 is %2, outside 5000 to 15000.</source>
        <translation>%1 为 %2，超出 5000 至 15000。</translation>
    </message>
    <message>
        <source>Nothing was read from the module, so nothing was saved.</source>
        <translation>未从模块读到任何内容，因此未保存。</translation>
    </message>
    <message>
        <source>The cyclic reading was stopped, as “停止” does, so that the loaded values stay in the boxes until you write them.</source>
        <translation>循环读取已停止（如同按下“停止”），以便载入的值在写入之前保留在各框中。</translation>
    </message>
    <message>
        <source>The file says they were read from station %1 on %2 at %3 (local time).</source>
        <translation>文件记载：这些值于 %3（本地时间）从 %2 上的设备地址 %1 读取。</translation>
    </message>
    <message>
        <source>Loaded from %1 and not yet written to the module: write it with its “写” button. A read of this box shows what the module holds.</source>
        <translation>从 %1 载入，尚未写入模块：请用它的“写”按钮写入。读取此框会显示模块中的值。</translation>
    </message>
    <message>
        <source>Module parameters</source>
        <translation>模块参数</translation>
    </message>
</context>
<context>
    <name>paramfile</name>
    <message>
        <source>no line gives %1</source>
        <translation>没有任何一行给出 %1</translation>
    </message>
    <message>
        <source>this is not a line of the form “key = value”</source>
        <translation>此行不是“键 = 值”的形式</translation>
    </message>
    <message>
        <source>%1 is given again (first on line %2)</source>
        <translation>%1 重复出现（首次在第 %2 行）</translation>
    </message>
    <message>
        <source>the value of %1 is not a whole number from 0 to 65535</source>
        <translation>%1 的值不是 0 至 65535 之间的整数</translation>
    </message>
    <message>
        <source>%1 is not a date and time such as 2026-12-07T08:30:00+01:00</source>
        <translation>%1 不是形如 2026-12-07T08:30:00+01:00 的日期时间</translation>
    </message>
    <message>
        <source>%1 is not a whole number from 0 to 255</source>
        <translation>%1 不是 0 至 255 之间的整数</translation>
    </message>
    <message>
        <source>%1 is not a key of a parameter file</source>
        <translation>%1 不是参数文件的键</translation>
    </message>
    <message>
        <source>the file is larger than 64 KiB</source>
        <translation>文件大于 64 KiB</translation>
    </message>
    <message>
        <source>the file cannot be read: %1</source>
        <translation>无法读取文件：%1</translation>
    </message>
    <message>
        <source>the file is not UTF-8 text</source>
        <translation>文件不是 UTF-8 文本</translation>
    </message>
</context>
</TS>

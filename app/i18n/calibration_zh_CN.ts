<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CalibrationDialog</name>
    <message>
        <source>input %1</source>
        <translation>输入%1</translation>
    </message>
    <message>
        <source>output %1</source>
        <translation>输出%1</translation>
    </message>
    <message>
        <source>Calibrate %1</source>
        <translation>校准%1</translation>
    </message>
    <message>
        <source>Current applied to input %1 (mA):</source>
        <translation>加在输入%1上的电流（mA）：</translation>
    </message>
    <message>
        <source>Live reads:</source>
        <translation>实时读取次数：</translation>
    </message>
    <message>
        <source>Current output %1 should carry (mA):</source>
        <translation>输出%1应输出的电流（mA）：</translation>
    </message>
    <message>
        <source>Current the meter reads on output %1 (mA):</source>
        <translation>电流表在输出%1上的读数（mA）：</translation>
    </message>
    <message>
        <source>Measure</source>
        <translation>测量</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>写入</translation>
    </message>
    <message>
        <source>Check</source>
        <translation>核对</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>恢复</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>not read</source>
        <translation>未读到</translation>
    </message>
    <message>
        <source>Coefficient %1.</source>
        <translation>系数%1。</translation>
    </message>
    <message>
        <source>The coefficient could not be read.</source>
        <translation>无法读取系数。</translation>
    </message>
    <message>
        <source>Output %1 shows %2 (for information only).</source>
        <translation>输出%1显示%2（仅供参考）。</translation>
    </message>
    <message>
        <source>Mean of %1 reads: %2 mA, spread (largest - smallest) %3 mA.</source>
        <translation>%1次读数的平均值：%2 mA，离散（最大值 - 最小值）%3 mA。</translation>
    </message>
    <message>
        <source>No proposal: %1</source>
        <translation>无建议值：%1</translation>
    </message>
    <message>
        <source>Input %1 should then read %2 mA.</source>
        <translation>写入后输入%1应读为%2 mA。</translation>
    </message>
    <message>
        <source>The meter should then read %1 mA.</source>
        <translation>写入后电流表应读为%1 mA。</translation>
    </message>
    <message>
        <source>Proposed: %1 → %2.</source>
        <translation>建议：%1 → %2。</translation>
    </message>
    <message>
        <source>Reading the ten parameters for the backup…</source>
        <translation>正在读取十个参数用于备份…</translation>
    </message>
    <message>
        <source>The parameters could not be read for the backup, so nothing was written.</source>
        <translation>无法读取参数进行备份，因此未写入任何内容。</translation>
    </message>
    <message>
        <source>The backup could not be saved (%1), so nothing was written.</source>
        <translation>无法保存备份（%1），因此未写入任何内容。</translation>
    </message>
    <message>
        <source>Backup of the parameters: %1</source>
        <translation>参数备份：%1</translation>
    </message>
    <message>
        <source>Writing the old coefficient %1…</source>
        <translation>正在写回原系数%1…</translation>
    </message>
    <message>
        <source>Writing %1…</source>
        <translation>正在写入%1…</translation>
    </message>
    <message>
        <source>The write was not sent: is the port open?</source>
        <translation>写入未发送：串口是否已打开？</translation>
    </message>
    <message>
        <source>Type the meter&apos;s new reading on output %1 and press “Check”.</source>
        <translation>请输入电流表在输出%1上的新读数，然后按“核对”。</translation>
    </message>
    <message>
        <source>The check failed: a read of input %1 failed.</source>
        <translation>核对失败：读取输入%1失败。</translation>
    </message>
    <message>
        <source>Type the meter&apos;s reading in mA first.</source>
        <translation>请先输入电流表读数（mA）。</translation>
    </message>
    <message>
        <source>the register could not be read back</source>
        <translation>无法读回寄存器</translation>
    </message>
    <message>
        <source>the register holds %1, not %2 (is CNG linked to GND?)</source>
        <translation>寄存器的值为%1，而不是%2（CNG是否已与GND短接？）</translation>
    </message>
    <message>
        <source>the error is more than 0.10 %</source>
        <translation>误差超过0.10 %</translation>
    </message>
    <message>
        <source>The register holds %1.</source>
        <translation>寄存器的值为%1。</translation>
    </message>
    <message>
        <source>Input %1 reads %2 mA</source>
        <translation>输入%1读数为%2 mA</translation>
    </message>
    <message>
        <source>The meter reads %2 mA on output %1</source>
        <translation>电流表在输出%1上读数为%2 mA</translation>
    </message>
    <message>
        <source>, error %1 against %2 mA.</source>
        <translation>，相对%2 mA的误差为%1。</translation>
    </message>
    <message>
        <source>Check failed: %1.</source>
        <translation>核对失败：%1。</translation>
    </message>
    <message>
        <source>Check passed.</source>
        <translation>核对通过。</translation>
    </message>
    <message>
        <source>Reading the coefficient…</source>
        <translation>正在读取系数…</translation>
    </message>
    <message>
        <source>Live read %1 of %2…</source>
        <translation>实时读取第%1次，共%2次…</translation>
    </message>
    <message>
        <source>The cycle was stopped; “循环” starts it again.</source>
        <translation>循环已停止；按“循环”可重新开始。</translation>
    </message>
</context>
<context>
    <name>CalibrationFeature</name>
    <message>
        <source>Calibrate…</source>
        <translation>校准…</translation>
    </message>
</context>
<context>
    <name>calibration</name>
    <message>
        <source>A read failed: the module did not answer as it should.</source>
        <translation>读取失败：模块未正确应答。</translation>
    </message>
    <message>
        <source>There are no readings.</source>
        <translation>没有读数。</translation>
    </message>
    <message>
        <source>The reference is not a number.</source>
        <translation>参考值不是数字。</translation>
    </message>
    <message>
        <source>The reference must be above zero.</source>
        <translation>参考值必须大于零。</translation>
    </message>
    <message>
        <source>The meter reading is not a number.</source>
        <translation>电流表读数不是数字。</translation>
    </message>
    <message>
        <source>The meter reading must be above zero.</source>
        <translation>电流表读数必须大于零。</translation>
    </message>
    <message>
        <source>The mean reading must be above zero.</source>
        <translation>平均读数必须大于零。</translation>
    </message>
    <message>
        <source>The readings spread over %1 mA, more than 0.5 % of their mean %2 mA: the current is not steady.</source>
        <translation>读数离散%1 mA，超过其平均值%2 mA的0.5 %：电流不稳定。</translation>
    </message>
    <message>
        <source>The new coefficient %1 would lie outside %2 to %3.</source>
        <translation>新系数%1将超出%2至%3的范围。</translation>
    </message>
    <message>
        <source>the folder %1 cannot be made</source>
        <translation>无法创建文件夹%1</translation>
    </message>
    <message>
        <source>%1 exists already</source>
        <translation>%1已存在</translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CalibrationFeature</name>
    <message>
        <source>Calibrate…</source>
        <translation>校准…</translation>
    </message>
    <message>
        <source>Verify the calibration history</source>
        <translation>核查校准历史</translation>
    </message>
    <message>
        <source>Calibration history</source>
        <translation>校准历史</translation>
    </message>
</context>
<context>
    <name>CalibrationCertificate</name>
    <message>
        <location filename="../calibration_certificate.cpp" line="101"/>
        <source>the PDF writer could not start</source>
        <translation>PDF 写入器无法启动</translation>
    </message>
</context>
<context>
    <name>CalibrationDialog</name>
    <message>
        <location filename="../calibration_dialog.cpp" line="37"/>
        <source>Calibrate %1</source>
        <translation>校准%1</translation>
    </message>
    <message>
        <location filename="../calibration_dialog.cpp" line="41"/>
        <source>Link CNG to GND on the right terminal block before setting the baud rate, the station address or the current parameters; otherwise no change is kept.</source>
        <translation>在设置波特率、设备地址或电流输入输出参数前，请将右端子排上CNG与GND短接，否则修改都无法保存</translation>
    </message>
    <message>
        <location filename="../calibration_dialog.cpp" line="57"/>
        <source>One point</source>
        <translation>单点校准</translation>
    </message>
    <message>
        <location filename="../calibration_dialog.cpp" line="58"/>
        <source>Several points</source>
        <translation>多点检查</translation>
    </message>
    <message>
        <location filename="../calibration_dialog.cpp" line="59"/>
        <source>Record</source>
        <translation>记录</translation>
    </message>
    <message>
        <location filename="../calibration_dialog.cpp" line="68"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../calibration_dialog.cpp" line="70"/>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>CalibrationLink</name>
    <message>
        <location filename="../calibration_link.cpp" line="57"/>
        <source>input %1</source>
        <translation>输入%1</translation>
    </message>
    <message>
        <location filename="../calibration_link.cpp" line="57"/>
        <source>output %1</source>
        <translation>输出%1</translation>
    </message>
    <message>
        <location filename="../calibration_link.cpp" line="98"/>
        <source>Cancelled.</source>
        <translation>已取消。</translation>
    </message>
    <message>
        <location filename="../calibration_link.cpp" line="105"/>
        <source>The cycle was stopped; “循环” starts it again.</source>
        <translation>循环已停止；按“循环”可重新开始。</translation>
    </message>
    <message>
        <location filename="../calibration_link.cpp" line="118"/>
        <source>Reading the coefficient…</source>
        <translation>正在读取系数…</translation>
    </message>
    <message>
        <location filename="../calibration_link.cpp" line="141"/>
        <source>Live read %1 of %2…</source>
        <translation>实时读取第%1次，共%2次…</translation>
    </message>
    <message>
        <location filename="../calibration_link.cpp" line="156"/>
        <source>Reading the ten parameters…</source>
        <translation>正在读取十个参数…</translation>
    </message>
    <message>
        <location filename="../calibration_link.cpp" line="176"/>
        <source>The parameters could not be read for the backup, so nothing was written.</source>
        <translation>无法读取参数进行备份，因此未写入任何内容。</translation>
    </message>
    <message>
        <location filename="../calibration_link.cpp" line="182"/>
        <source>The backup could not be saved (%1), so nothing was written.</source>
        <translation>无法保存备份（%1），因此未写入任何内容。</translation>
    </message>
    <message>
        <location filename="../calibration_link.cpp" line="193"/>
        <source>Writing %1…</source>
        <translation>正在写入%1…</translation>
    </message>
    <message>
        <location filename="../calibration_link.cpp" line="205"/>
        <source>The write was not sent: is the port open?</source>
        <translation>写入未发送：串口是否已打开？</translation>
    </message>
    <message>
        <location filename="../calibration_link.cpp" line="237"/>
        <source>The calibration history %1 could not be written: %2</source>
        <translation>无法写入校准历史 %1：%2</translation>
    </message>
</context>
<context>
    <name>CalibrationRecordWidget</name>
    <message>
        <location filename="../calibration_record_widget.cpp" line="45"/>
        <source>Technician:</source>
        <translation>校准人员：</translation>
    </message>
    <message>
        <location filename="../calibration_record_widget.cpp" line="46"/>
        <source>Reference instrument (model):</source>
        <translation>标准器（型号）：</translation>
    </message>
    <message>
        <location filename="../calibration_record_widget.cpp" line="47"/>
        <source>Its serial number:</source>
        <translation>标准器序列号：</translation>
    </message>
    <message>
        <location filename="../calibration_record_widget.cpp" line="48"/>
        <source>Its calibration due date:</source>
        <translation>标准器校准有效期至：</translation>
    </message>
    <message>
        <location filename="../calibration_record_widget.cpp" line="61"/>
        <source>Certificate…</source>
        <translation>校准证书…</translation>
    </message>
    <message>
        <location filename="../calibration_record_widget.cpp" line="95"/>
        <source>Save the calibration certificate</source>
        <translation>保存校准证书</translation>
    </message>
    <message>
        <location filename="../calibration_record_widget.cpp" line="96"/>
        <source>PDF files (*.pdf)</source>
        <translation>PDF 文件 (*.pdf)</translation>
    </message>
    <message>
        <location filename="../calibration_record_widget.cpp" line="116"/>
        <source>The certificate %1 could not be saved: %2</source>
        <translation>无法保存校准证书 %1：%2</translation>
    </message>
    <message>
        <location filename="../calibration_record_widget.cpp" line="119"/>
        <source>The points %1 could not be saved: %2</source>
        <translation>无法保存各点数据 %1：%2</translation>
    </message>
    <message>
        <location filename="../calibration_record_widget.cpp" line="122"/>
        <source>Certificate %1 saved as %2, its points as %3.</source>
        <translation>校准证书 %1 已保存为 %2，各点数据保存为 %3。</translation>
    </message>
</context>
<context>
    <name>MultiPointCheck</name>
    <message>
        <location filename="../calibration_multi_point.cpp" line="46"/>
        <source>Points (mA):</source>
        <translation>检查点（mA）：</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="48"/>
        <source>Tolerance (% of the 16 mA span):</source>
        <translation>允差（占 16 mA 量程的 %）：</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="53"/>
        <source>Live reads per point:</source>
        <translation>每点实时读取次数：</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="56"/>
        <source>Current the meter reads on output %1 (mA):</source>
        <translation>电流表在输出%1上的读数（mA）：</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="69"/>
        <source>Check</source>
        <translation>检查</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="70"/>
        <source>Take</source>
        <translation>采集</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="71"/>
        <source>Adjust</source>
        <translation>调整</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="102"/>
        <source>Not checked: %1.</source>
        <translation>未检查：%1。</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="121"/>
        <source>The coefficient of %1: no answer, so nothing was checked.</source>
        <translation>%1的系数：无应答，因此未作检查。</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="143"/>
        <source>As left</source>
        <translation>调整后</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="143"/>
        <source>As found</source>
        <translation>调整前</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="144"/>
        <source>%1, point %2 of %3:</source>
        <translation>%1，第 %2 点（共 %3 点）：</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="147"/>
        <source>Apply %1 to input %2, then press “Take”.</source>
        <translation>给输入%2施加 %1，然后按“采集”。</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="148"/>
        <source>Bring output %2 to about %1 through input %2, type the meter&apos;s reading in “meter”, then press “Take”.</source>
        <translation>通过输入%2使输出%2约为 %1，将电流表读数填入“meter”，然后按“采集”。</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="176"/>
        <source>Point %1 (%2) refused: %3. Take it again, or cancel.</source>
        <translation>第 %1 点（%2）被拒绝：%3。请重新采集，或取消。</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="207"/>
        <source>As found: %1.</source>
        <translation>调整前：%1。</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="211"/>
        <source>As left: %1.</source>
        <translation>调整后：%1。</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="212"/>
        <source>As found (tolerance %1 % of span):</source>
        <translation>调整前（允差为量程的 %1 %）：</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="214"/>
        <source>As left (tolerance %1 % of span):</source>
        <translation>调整后（允差为量程的 %1 %）：</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="223"/>
        <source>Adjusted: coefficient %1 → %2. %3</source>
        <translation>已调整：系数 %1 → %2。%3</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="230"/>
        <source>No adjustment: %1.</source>
        <translation>无法调整：%1。</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="231"/>
        <source>“Adjust” would write %1 → %2 (gain through zero by least squares). %3</source>
        <translation>“调整”将写入 %1 → %2（过零点最小二乘增益）。%3</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="237"/>
        <source>The offset and non-linearity alone exceed the tolerance of %1 % of span: the check as left will fail, whatever the gain.</source>
        <translation>仅零点偏移和非线性就已超出允差（量程的 %1 %）：无论增益如何，调整后的检查都将不合格。</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="253"/>
        <source>Not kept: the coefficient of %1 holds %2, not %3 (is CNG linked to GND?).</source>
        <translation>未保存：%1的系数为 %2，而不是 %3（CNG 是否已与 GND 短接？）。</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="258"/>
        <source>The coefficient of %1 could not be read back after the write.</source>
        <translation>写入后无法读回%1的系数。</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="264"/>
        <source>Written and read back. Backup of the parameters: %1</source>
        <translation>已写入并读回。参数备份：%1</translation>
    </message>
    <message>
        <location filename="../calibration_multi_point.cpp" line="278"/>
        <source>The check was cancelled.</source>
        <translation>检查已取消。</translation>
    </message>
</context>
<context>
    <name>OnePointCalibration</name>
    <message>
        <location filename="../calibration_one_point.cpp" line="37"/>
        <source>Current applied to input %1 (mA):</source>
        <translation>加在输入%1上的电流（mA）：</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="42"/>
        <source>Live reads:</source>
        <translation>实时读取次数：</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="45"/>
        <source>Current output %1 should carry (mA):</source>
        <translation>输出%1应输出的电流（mA）：</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="47"/>
        <source>Current the meter reads on output %1 (mA):</source>
        <translation>电流表在输出%1上的读数（mA）：</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="70"/>
        <source>Measure</source>
        <translation>测量</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="71"/>
        <source>Write</source>
        <translation>写入</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="73"/>
        <source>Check</source>
        <translation>核对</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="74"/>
        <location filename="../calibration_one_point.cpp" line="290"/>
        <source>Restore</source>
        <translation>恢复</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="116"/>
        <source>The coefficient: no answer.</source>
        <translation>系数：无应答。</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="118"/>
        <source>Output %1 shows %2 (for information only).</source>
        <translation>输出%1显示%2（仅供参考）。</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="121"/>
        <source>Output %1: no answer.</source>
        <translation>输出%1：无应答。</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="126"/>
        <source>Input %1: no answer.</source>
        <translation>输入%1：无应答。</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="127"/>
        <source>Mean of %1 reads: %2, spread (largest - smallest) %3.</source>
        <translation>%1 次读数的平均值：%2，波动范围（最大值 - 最小值）%3。</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="131"/>
        <source>Coefficient %1.</source>
        <translation>系数%1。</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="146"/>
        <source>No proposal: %1</source>
        <translation>无建议值：%1</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="148"/>
        <source>Input %1 should then read %2.</source>
        <translation>之后输入%1应读数为 %2。</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="151"/>
        <source>The meter should then read %1.</source>
        <translation>之后电流表应读数为 %1。</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="154"/>
        <source>Proposed: %1 → %2.</source>
        <translation>建议：%1 → %2。</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="170"/>
        <source>Backup of the parameters: %1</source>
        <translation>参数备份：%1</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="220"/>
        <source>Type the meter&apos;s new reading on output %1 and press “Check”.</source>
        <translation>请输入电流表在输出%1上的新读数，然后按“核对”。</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="229"/>
        <source>The check failed: input %1 gave no answer.</source>
        <translation>检查失败：输入%1无应答。</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="237"/>
        <source>The meter&apos;s reading: type it in mA first.</source>
        <translation>电流表读数：请先以 mA 为单位输入。</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="252"/>
        <source>the register could not be read back</source>
        <translation>无法读回寄存器</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="255"/>
        <source>the register holds %1, not %2 (is CNG linked to GND?)</source>
        <translation>寄存器的值为%1，而不是%2（CNG是否已与GND短接？）</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="257"/>
        <source>the error is more than 0.10 %</source>
        <translation>误差超过0.10 %</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="260"/>
        <source>Restored: the register holds %1 again.</source>
        <translation>已恢复：寄存器重新为 %1。</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="262"/>
        <source>The register holds %1.</source>
        <translation>寄存器的值为%1。</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="264"/>
        <source>Input %1 reads %2</source>
        <translation>输入%1读数为 %2</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="265"/>
        <source>The meter reads %2 on output %1</source>
        <translation>输出%1上电流表读数为 %2</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="268"/>
        <source>, error %1 against %2.</source>
        <translation>，相对 %2 的误差为 %1。</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="273"/>
        <source>Check failed: %1.</source>
        <translation>核对失败：%1。</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="275"/>
        <source>Check passed.</source>
        <translation>核对通过。</translation>
    </message>
    <message>
        <location filename="../calibration_one_point.cpp" line="290"/>
        <source>Restore %1</source>
        <translation>恢复 %1</translation>
    </message>
</context>
<context>
    <name>calibration</name>
    <message>
        <location filename="../../device/calibration.cpp" line="115"/>
        <source>A read failed: the module did not answer as it should.</source>
        <translation>读取失败：模块未正确应答。</translation>
    </message>
    <message>
        <location filename="../../device/calibration.cpp" line="116"/>
        <source>There are no readings.</source>
        <translation>没有读数。</translation>
    </message>
    <message>
        <location filename="../../device/calibration.cpp" line="117"/>
        <source>The reference is not a number.</source>
        <translation>参考值不是数字。</translation>
    </message>
    <message>
        <location filename="../../device/calibration.cpp" line="118"/>
        <source>The reference must be above zero.</source>
        <translation>参考值必须大于零。</translation>
    </message>
    <message>
        <location filename="../../device/calibration.cpp" line="119"/>
        <source>The meter reading is not a number.</source>
        <translation>电流表读数不是数字。</translation>
    </message>
    <message>
        <location filename="../../device/calibration.cpp" line="120"/>
        <source>The meter reading must be above zero.</source>
        <translation>电流表读数必须大于零。</translation>
    </message>
    <message>
        <location filename="../../device/calibration.cpp" line="121"/>
        <source>The mean reading must be above zero.</source>
        <translation>平均读数必须大于零。</translation>
    </message>
    <message>
        <location filename="../../device/calibration.cpp" line="123"/>
        <source>The readings spread over %1 mA, more than 0.5 % of their mean %2 mA: the current is not steady.</source>
        <translation>读数波动范围 %1 mA，超过其平均值 %2 mA 的 0.5 %：电流不稳定。</translation>
    </message>
    <message>
        <location filename="../../device/calibration.cpp" line="127"/>
        <source>The new coefficient %1 would lie outside %2 to %3.</source>
        <translation>新系数%1将超出%2至%3的范围。</translation>
    </message>
    <message>
        <location filename="../../device/calibration.cpp" line="149"/>
        <source>beyond any number</source>
        <translation>超出任何数值</translation>
    </message>
    <message>
        <location filename="../../device/calibration_backup.cpp" line="25"/>
        <source>the folder %1 cannot be made</source>
        <translation>无法创建文件夹%1</translation>
    </message>
    <message>
        <location filename="../../device/calibration_backup.cpp" line="53"/>
        <source>%1 exists already</source>
        <translation>%1已存在</translation>
    </message>
    <message>
        <location filename="../../device/calibration_check.cpp" line="36"/>
        <source>a read failed: the module did not answer as it should</source>
        <translation>一次读取失败：模块未正常应答</translation>
    </message>
    <message>
        <location filename="../../device/calibration_check.cpp" line="38"/>
        <source>there are no readings</source>
        <translation>没有读数</translation>
    </message>
    <message>
        <location filename="../../device/calibration_check.cpp" line="42"/>
        <source>the reads spread over %1, more than 0.5 % of their mean %2: the current is not steady</source>
        <translation>读数波动范围 %1，超过其平均值 %2 的 0.5 %：电流不稳定</translation>
    </message>
    <message>
        <location filename="../../device/calibration_check.cpp" line="67"/>
        <source>%1 (%2 % of span)</source>
        <translation>%1（量程的 %2 %）</translation>
    </message>
    <message>
        <location filename="../../device/calibration_check.cpp" line="80"/>
        <source>points: “%1” is not a number</source>
        <translation>检查点：“%1”不是数字</translation>
    </message>
    <message>
        <location filename="../../device/calibration_check.cpp" line="84"/>
        <source>points: %1 mA lies outside 0 to 25 mA</source>
        <translation>检查点：%1 mA 不在 0 至 25 mA 之内</translation>
    </message>
    <message>
        <location filename="../../device/calibration_check.cpp" line="90"/>
        <source>points: at most %1 points</source>
        <translation>检查点：最多 %1 个点</translation>
    </message>
    <message>
        <location filename="../../device/calibration_check.cpp" line="94"/>
        <source>points: at least two different currents are needed</source>
        <translation>检查点：至少需要两个不同的电流</translation>
    </message>
    <message>
        <location filename="../../device/calibration_check.cpp" line="105"/>
        <source>tolerance: “%1” is not a share of the span above 0 and at most 10 %</source>
        <translation>允差：“%1”不是大于 0 且不超过 10 % 的量程百分比</translation>
    </message>
    <message>
        <location filename="../../device/calibration_check.cpp" line="128"/>
        <source>meter: “%1” is not a current from 0 to 25 mA</source>
        <translation>电流表：“%1”不是 0 至 25 mA 之间的电流</translation>
    </message>
    <message>
        <location filename="../../device/calibration_check.cpp" line="167"/>
        <source>no point reads above zero, so no gain fits</source>
        <translation>没有读数大于零的点，因此无法拟合增益</translation>
    </message>
    <message>
        <location filename="../../device/calibration_check.cpp" line="173"/>
        <source>the new coefficient %1 would lie outside %2 to %3</source>
        <translation>新系数 %1 将超出 %2 至 %3 的范围</translation>
    </message>
    <message>
        <location filename="../../device/calibration_history.cpp" line="58"/>
        <source>the folder of %1 cannot be made</source>
        <translation>无法创建 %1 所在的文件夹</translation>
    </message>
    <message>
        <location filename="../../device/calibration_history.cpp" line="63"/>
        <source>%1 is being written by another program</source>
        <translation>%1 正被另一个程序写入</translation>
    </message>
    <message>
        <location filename="../../device/calibration_history.cpp" line="66"/>
        <source>its lock file %1 cannot be made</source>
        <translation>无法创建它的锁文件 %1</translation>
    </message>
    <message>
        <location filename="../../device/calibration_history.cpp" line="94"/>
        <source>There is no calibration history at %1 (%2).</source>
        <translation>%1 处没有校准历史（%2）。</translation>
    </message>
    <message>
        <location filename="../../device/calibration_history.cpp" line="108"/>
        <source>line %1 is not a calibration entry</source>
        <translation>第 %1 行不是校准条目</translation>
    </message>
    <message>
        <location filename="../../device/calibration_history.cpp" line="111"/>
        <source>line 1 does not start the history: lines before it were removed</source>
        <translation>第 1 行不是历史的开头：其之前的行已被删除</translation>
    </message>
    <message>
        <location filename="../../device/calibration_history.cpp" line="112"/>
        <source>line %1 does not follow line %2: line %2 was changed, or lines between them were removed</source>
        <translation>第 %1 行与第 %2 行不衔接：第 %2 行被修改，或两者之间的行被删除</translation>
    </message>
    <message>
        <location filename="../../device/calibration_history.cpp" line="117"/>
        <source>line %1 holds entry %2: the history was rearranged</source>
        <translation>第 %1 行是第 %2 条记录：历史顺序被打乱</translation>
    </message>
    <message>
        <location filename="../../device/calibration_history.cpp" line="122"/>
        <location filename="../../device/calibration_history.cpp" line="136"/>
        <source>The calibration history %1 is broken: %2.</source>
        <translation>校准历史 %1 已被破坏：%2。</translation>
    </message>
    <message>
        <location filename="../../device/calibration_history.cpp" line="138"/>
        <source>it ends at line %1, but line %2 was written last: lines at its end were removed or changed</source>
        <translation>它止于第 %1 行，但最后写入的是第 %2 行：末尾的行被删除或修改</translation>
    </message>
    <message>
        <location filename="../../device/calibration_history.cpp" line="145"/>
        <source>The calibration history %1 is whole: %2 entries, each following the one before.</source>
        <translation>校准历史 %1 完整：共 %2 条，每条都与前一条衔接。</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="45"/>
        <source>Module parameters</source>
        <translation>模块参数</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="46"/>
        <source>Parameter</source>
        <translation>参数</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="46"/>
        <source>Before</source>
        <translation>之前</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="46"/>
        <source>After</source>
        <translation>之后</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="49"/>
        <source>not read</source>
        <translation>未读到</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="61"/>
        <location filename="../../device/calibration_record.cpp" line="98"/>
        <location filename="../../device/calibration_record.cpp" line="146"/>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="61"/>
        <location filename="../../device/calibration_record.cpp" line="149"/>
        <location filename="../../device/calibration_record.cpp" line="153"/>
        <source>not checked</source>
        <translation>未检查</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="76"/>
        <source>input %1</source>
        <translation>输入%1</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="76"/>
        <source>output %1</source>
        <translation>输出%1</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="90"/>
        <source>pass</source>
        <translation>合格</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="90"/>
        <source>fail</source>
        <translation>不合格</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="97"/>
        <source>Reference (mA)</source>
        <translation>标准值（mA）</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="97"/>
        <source>Mean (mA)</source>
        <translation>平均值（mA）</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="97"/>
        <source>Spread (mA)</source>
        <translation>波动范围（mA）</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="97"/>
        <source>Std. deviation (mA)</source>
        <translation>标准差（mA）</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="98"/>
        <source>Error (mA)</source>
        <translation>误差（mA）</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="98"/>
        <source>Error (% of span)</source>
        <translation>误差（量程的 %）</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="109"/>
        <source>A gain cannot fix the offset of %1 or the non-linearity of %2; after the adjustment the largest error expected is %3.</source>
        <translation>增益无法修正 %1 的零点偏移和 %2 的非线性；调整后预计最大误差为 %3。</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="117"/>
        <source>Calibration certificate</source>
        <translation>校准证书</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="118"/>
        <source>Record</source>
        <translation>记录</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="119"/>
        <source>Record number</source>
        <translation>记录编号</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="120"/>
        <source>Date and time</source>
        <translation>日期和时间</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="121"/>
        <source>Technician</source>
        <translation>校准人员</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="122"/>
        <source>Reference instrument</source>
        <translation>标准器</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="123"/>
        <source>Instrument serial number</source>
        <translation>标准器序列号</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="124"/>
        <source>Instrument calibration due</source>
        <translation>标准器校准有效期至</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="125"/>
        <source>Port</source>
        <translation>端口</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="126"/>
        <source>Station</source>
        <translation>设备地址</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="127"/>
        <source>Line settings</source>
        <translation>通信参数</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="128"/>
        <source>Channel</source>
        <translation>通道</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="129"/>
        <source>Tolerance</source>
        <translation>允差</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="129"/>
        <source>%1 % of span (16 mA)</source>
        <translation>量程（16 mA）的 %1 %</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="130"/>
        <source>Points</source>
        <translation>检查点</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="131"/>
        <source>Reads per point</source>
        <translation>每点读取次数</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="133"/>
        <location filename="../../device/calibration_record.cpp" line="147"/>
        <source>As found</source>
        <translation>调整前</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="134"/>
        <source>Adjustment</source>
        <translation>调整</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="138"/>
        <location filename="../../device/calibration_record.cpp" line="142"/>
        <source>Coefficient</source>
        <translation>系数</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="139"/>
        <source>%1 → %2</source>
        <translation>%1 → %2</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="140"/>
        <source>Not correctable by the gain</source>
        <translation>增益无法修正的部分</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="142"/>
        <source>not adjusted</source>
        <translation>未调整</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="145"/>
        <location filename="../../device/calibration_record.cpp" line="151"/>
        <source>As left</source>
        <translation>调整后</translation>
    </message>
    <message>
        <location filename="../../device/calibration_record.cpp" line="155"/>
        <source>Tool version</source>
        <translation>软件版本</translation>
    </message>
</context>
</TS>

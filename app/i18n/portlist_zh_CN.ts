<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CommPort</name>
    <message>
        <source>the port number cannot change while the port is open</source>
        <translation>串口打开时不能更改串口号</translation>
    </message>
    <message>
        <source>port number %1 is out of range</source>
        <translation>串口号 %1 超出范围</translation>
    </message>
    <message>
        <source>the line settings cannot change while the port is open</source>
        <translation>串口打开时不能更改通信参数</translation>
    </message>
    <message>
        <source>malformed line settings &quot;%1&quot;</source>
        <translation>通信参数“%1”格式有误</translation>
    </message>
    <message>
        <source>input mode %1 is unknown</source>
        <translation>未知的输入模式 %1</translation>
    </message>
    <message>
        <source>input length %1 is negative</source>
        <translation>输入长度 %1 为负数</translation>
    </message>
    <message>
        <source>receive threshold %1 is negative</source>
        <translation>接收阈值 %1 为负数</translation>
    </message>
    <message>
        <source>send threshold %1 is negative</source>
        <translation>发送阈值 %1 为负数</translation>
    </message>
    <message>
        <source>the input buffer can only be emptied</source>
        <translation>输入缓冲区只能清空</translation>
    </message>
    <message>
        <source>the output buffer can only be emptied</source>
        <translation>输出缓冲区只能清空</translation>
    </message>
    <message>
        <source>the port is not open</source>
        <translation>串口未打开</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>The settings could not be saved to %1: %2</source>
        <translation>设置无法保存到 %1：%2</translation>
    </message>
</context>
<context>
    <name>PortList</name>
    <message>
        <source>Link COMn to (no entry COM1 to COM25 is selected or typed)</source>
        <translation>将 COMn 链接到（未选择或输入 COM1 至 COM25 中的任何一项）</translation>
    </message>
    <message>
        <source>Link COM%1 to</source>
        <translation>将 COM%1 链接到</translation>
    </message>
    <message>
        <source>No serial device detected</source>
        <translation>未检测到串口设备</translation>
    </message>
    <message>
        <source>Remove the link</source>
        <translation>删除链接</translation>
    </message>
    <message>
        <source>The link %1 could not be written: %2</source>
        <translation>链接 %1 无法写入：%2</translation>
    </message>
    <message>
        <source>The link %1 could not be removed: %2</source>
        <translation>链接 %1 无法删除：%2</translation>
    </message>
</context>
<context>
    <name>portinfo</name>
    <message>
        <source>permission denied. Add your user to the dialout group (sudo usermod -aG dialout $USER), then log in again</source>
        <translation>权限不足。请将您的用户加入 dialout 组（sudo usermod -aG dialout $USER），然后重新登录</translation>
    </message>
    <message>
        <source>serial %1</source>
        <translation>序列号 %1</translation>
    </message>
    <message>
        <source>no details reported</source>
        <translation>系统未报告详细信息</translation>
    </message>
    <message>
        <source>no such device</source>
        <translation>设备不存在</translation>
    </message>
    <message>
        <source>not a detected serial port</source>
        <translation>不是已检测到的串口</translation>
    </message>
    <message>
        <source>open, %1</source>
        <translation>已打开，%1</translation>
    </message>
    <message>
        <source>closed</source>
        <translation>已关闭</translation>
    </message>
    <message>
        <source>could not be opened: %1</source>
        <translation>无法打开：%1</translation>
    </message>
    <message>
        <source>could not be opened: busy, held by another program</source>
        <translation>无法打开：设备忙，已被其他程序占用</translation>
    </message>
    <message>
        <source>could not be opened: no such device</source>
        <translation>无法打开：设备不存在</translation>
    </message>
    <message>
        <source>the device went away</source>
        <translation>设备已断开</translation>
    </message>
    <message>
        <source>; from the next pick or Save of COM%1: </source>
        <translation>；下次选择或保存 COM%1 后：</translation>
    </message>
</context>
<context>
    <name>portlinks</name>
    <message>
        <source>unknown reason</source>
        <translation>原因不明</translation>
    </message>
</context>
</TS>

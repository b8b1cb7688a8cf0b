<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>TrendFeature</name>
    <message>
        <source>Trend…</source>
        <translation>趋势…</translation>
    </message>
    <message>
        <source>Stop recording</source>
        <translation>停止记录</translation>
    </message>
    <message>
        <source>Record to a file…</source>
        <translation>记录到文件…</translation>
    </message>
    <message>
        <source>Record the live values to a file</source>
        <translation>将实时数据记录到文件</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV 文件 (*.csv)</translation>
    </message>
    <message>
        <source>Cannot record to %1: %2</source>
        <translation>无法记录到 %1：%2</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>记录</translation>
    </message>
    <message>
        <source>Recording to %1 stopped: %2
The rows written before stay in the file; the values are still read.</source>
        <translation>记录到 %1 已停止：%2
已写入的行保留在文件中；数据仍在继续读取。</translation>
    </message>
</context>
<context>
    <name>TrendWindow</name>
    <message>
        <source>No value: no reply, or too short</source>
        <translation>无数值：无回复或回复过短</translation>
    </message>
    <message>
        <source>Reply not well-formed</source>
        <translation>回复格式有误</translation>
    </message>
    <message>
        <source>Trend of the live values</source>
        <translation>实时数据趋势</translation>
    </message>
    <message>
        <source>Inputs (mA)</source>
        <translation>输入（mA）</translation>
    </message>
    <message>
        <source>Span:</source>
        <translation>时间范围：</translation>
    </message>
    <message>
        <source>1 min</source>
        <translation>1 分钟</translation>
    </message>
    <message>
        <source>10 min</source>
        <translation>10 分钟</translation>
    </message>
    <message>
        <source>1 h</source>
        <translation>1 小时</translation>
    </message>
    <message>
        <source>All</source>
        <translation>全部</translation>
    </message>
    <message>
        <source>Follow the newest</source>
        <translation>跟随最新</translation>
    </message>
    <message>
        <source>Save PNG…</source>
        <translation>保存 PNG…</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Stop recording</source>
        <translation>停止记录</translation>
    </message>
    <message>
        <source>Not recording</source>
        <translation>未在记录</translation>
    </message>
    <message>
        <source>Record to a file…</source>
        <translation>记录到文件…</translation>
    </message>
    <message>
        <source>Cannot save the picture to %1: %2</source>
        <translation>无法将图片保存到 %1：%2</translation>
    </message>
    <message>
        <source>Save the trend as a picture</source>
        <translation>将趋势保存为图片</translation>
    </message>
    <message>
        <source>PNG pictures (*.png)</source>
        <translation>PNG 图片 (*.png)</translation>
    </message>
    <message>
        <source>Outputs (register value)</source>
        <translation>输出（寄存器值）</translation>
    </message>
    <message>
        <source>Time (local, hh:mm:ss)</source>
        <translation>时间（本地，时:分:秒）</translation>
    </message>
    <message>
        <source>How far back the chart looks while it follows the newest value</source>
        <translation>跟随最新值时图表显示的时间跨度</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>自定义</translation>
    </message>
    <message>
        <source>Keep the newest value at the right edge; the wheel zooms and dragging pans the time, which stops following</source>
        <translation>让最新值保持在右边缘；用滚轮缩放、拖动平移时间轴，二者都会停止跟随</translation>
    </message>
    <message>
        <source>Save the chart as a PNG picture</source>
        <translation>将图表保存为 PNG 图片</translation>
    </message>
    <message>
        <source>Copy picture</source>
        <translation>复制图片</translation>
    </message>
    <message>
        <source>Copy the chart as a picture to the clipboard</source>
        <translation>将图表作为图片复制到剪贴板</translation>
    </message>
    <message>
        <source>Forget the values shown so far; a recording&apos;s file keeps its rows</source>
        <translation>清除目前显示的数据；记录文件中的行保留不变</translation>
    </message>
    <message>
        <source>Finish the file; the values are still read</source>
        <translation>结束记录文件；数据仍继续读取</translation>
    </message>
    <message>
        <source>Write each live read as a row of a CSV file</source>
        <translation>将每次实时读取写为 CSV 文件中的一行</translation>
    </message>
    <message>
        <source>Clear the trend? The values shown so far are forgotten; a recording&apos;s file keeps its rows.</source>
        <translation>清除趋势？目前显示的数据将被清除；记录文件中的行保留不变。</translation>
    </message>
    <message>
        <source>Recording to %1 (rows written: %2)</source>
        <translation>正在记录到 %1（已写入 %2 行）</translation>
    </message>
    <message>
        <source>Live values, %1</source>
        <translation>实时数据：%1</translation>
    </message>
</context>
<context>
    <name>recording</name>
    <message numerus="yes">
        <source>the disk did not keep up, and %n row(s) could not be written</source>
        <translation>
            <numerusform>磁盘写入跟不上，有 %n 行未能写入</numerusform>
        </translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation>未知错误</translation>
    </message>
</context>
</TS>

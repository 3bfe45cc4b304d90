<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Banner</name>
    <message>
        <source>Error loading image %1</source>
        <translation>加载图片%1时发生错误</translation>
    </message>
</context>
<context>
    <name>BatchCommands</name>
    <message>
        <source>The batch &quot;%1&quot; is faulty and was left out: %2</source>
        <translation>批处理指令“%1”有误，未载入：%2</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>cannot read the configuration %1</source>
        <translation>无法读取配置文件 %1</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>%1 has no element TERVALON</source>
        <translation>%1 中没有 TERVALON 元素</translation>
    </message>
    <message>
        <source>The device matches the snapshot
</source>
        <translation>设备与快照一致
</translation>
    </message>
    <message>
        <source>The parameters compared match the snapshot
</source>
        <translation>比较过的参数与快照一致
</translation>
    </message>
    <message numerus="yes">
        <source>%n parameter(s) differ from the snapshot:
</source>
        <translation>
            <numerusform>%n 个参数与快照不同：
</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>
%n parameter(s) did not answer and were not compared:
</source>
        <translation>
            <numerusform>
%n 个参数没有应答，未比较：
</numerusform>
        </translation>
    </message>
    <message>
        <source>there is no parameter page named &quot;%1&quot;</source>
        <translation>没有名为“%1”的参数页</translation>
    </message>
    <message>
        <source>the configuration has no parameters to read</source>
        <translation>配置中没有可读取的参数</translation>
    </message>
    <message>
        <source>the snapshot was not saved: %1: %2</source>
        <translation>快照未保存：%1：%2</translation>
    </message>
    <message>
        <source>the port took nothing</source>
        <translation>端口未接受数据</translation>
    </message>
    <message>
        <source>no reply within %1 ms</source>
        <translation>设备在 %1 毫秒内没有应答</translation>
    </message>
    <message>
        <source>there is no batch named &quot;%1&quot;; there are: %2</source>
        <translation>没有名为“%1”的批处理指令；可用：%2</translation>
    </message>
    <message>
        <source>batch &quot;%1&quot; step %2 (%3) waits for a person to confirm it; run it from the window</source>
        <translation>批处理“%1”第 %2 步（%3）需要人工确认，命令行不执行；请在窗口中运行</translation>
    </message>
    <message numerus="yes">
        <source>Write these %n parameter(s)? [y/N] </source>
        <translation>
            <numerusform>写入这 %n 个参数？[y/N] </numerusform>
        </translation>
    </message>
    <message>
        <source>the parameter cannot take the snapshot&apos;s value</source>
        <translation>快照值无法填入此参数</translation>
    </message>
    <message>
        <source>the write journal could not be written: %1: %2</source>
        <translation>写入记录未能保存：%1：%2</translation>
    </message>
    <message>
        <source>no reply when read back</source>
        <translation>读回时设备没有应答</translation>
    </message>
    <message>
        <source>read back %1</source>
        <translation>读回的值为 %1</translation>
    </message>
    <message>
        <source>Written: %1</source>
        <translation>已写入 %1 个：</translation>
    </message>
    <message>
        <source>Verified: %1</source>
        <translation>已校验 %1 个：</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>失败 %1 个：</translation>
    </message>
    <message>
        <source>Did not answer, not compared: %1</source>
        <translation>没有应答、未比较 %1 个：</translation>
    </message>
    <message>
        <source>standard input is not a terminal, so nothing is written without --yes (or --dry-run to list only)</source>
        <translation>标准输入不是终端，不经确认不写入；请加 --yes（或 --dry-run 只列出）</translation>
    </message>
    <message>
        <source>The device matches the snapshot; nothing to write
</source>
        <translation>设备与快照一致，无需写入
</translation>
    </message>
    <message numerus="yes">
        <source>These %n parameter(s) would be written to the device:
</source>
        <translation>
            <numerusform>将把以下 %n 个参数写入设备：
</numerusform>
        </translation>
    </message>
    <message>
        <source>Nothing was written
</source>
        <translation>未写入任何参数
</translation>
    </message>
    <message>
        <source>%1 was disconnected; the device is no longer present</source>
        <translation>%1 连接已断开，设备已不存在</translation>
    </message>
    <message>
        <source>port settings: </source>
        <translation>端口设置有误：</translation>
    </message>
    <message>
        <source>%1 open error: %2</source>
        <translation>%1 打开错误：%2</translation>
    </message>
    <message>
        <source>(no reply)</source>
        <translation>（无应答）</translation>
    </message>
    <message>
        <source>address</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>caption</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>shown</source>
        <translation>显示</translation>
    </message>
    <message>
        <source>sent</source>
        <translation>发送</translation>
    </message>
    <message numerus="yes">
        <source>
%n parameter(s) did not answer:
</source>
        <translation>
            <numerusform>
%n 个参数没有应答：
</numerusform>
        </translation>
    </message>
    <message>
        <source><byte value="xd"/>Reading %1/%2</source>
        <translation><byte value="xd"/>读取 %1/%2</translation>
    </message>
    <message>
        <source>the snapshot cannot be read: %1: %2</source>
        <translation>无法读取快照：%1：%2</translation>
    </message>
    <message>
        <source>the file is too large</source>
        <translation>文件太大</translation>
    </message>
    <message>
        <source>%1 is no snapshot file (line %2)</source>
        <translation>%1 不是快照文件（第 %2 行）</translation>
    </message>
    <message>
        <source>snapshot shown</source>
        <translation>快照显示</translation>
    </message>
    <message>
        <source>snapshot sent</source>
        <translation>快照发送</translation>
    </message>
    <message>
        <source>device shown</source>
        <translation>设备显示</translation>
    </message>
    <message>
        <source>device sent</source>
        <translation>设备发送</translation>
    </message>
    <message numerus="yes">
        <source>%n snapshot row(s) match no parameter (address and tag):
</source>
        <translation>
            <numerusform>快照中 %n 行无法对应到参数（地址和标记）：
</numerusform>
        </translation>
    </message>
    <message>
        <source>there is no automatic-reading page named &quot;%1&quot;</source>
        <translation>没有名为“%1”的自动读取页</translation>
    </message>
    <message>
        <source>the automatic-reading page &quot;%1&quot; is not MODBUS; it is not polled</source>
        <translation>自动读取页“%1”的协议不是 MODBUS，不轮询</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
</context>
<context>
    <name>CommandText</name>
    <message>
        <source>Character %1, &quot;%2&quot; (%3), cannot be sent as one byte; nothing was sent</source>
        <translation>第 %1 个字符“%2”（%3）无法作为单个字节发送，未发送任何内容</translation>
    </message>
</context>
<context>
    <name>Commissioning</name>
    <message>
        <source>no reply</source>
        <translation>无应答</translation>
    </message>
    <message>
        <source>differs</source>
        <translation>不同</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>The write journal could not be written: %1
%2</source>
        <translation>写入记录未能保存：%1
%2</translation>
    </message>
    <message>
        <source>The port is not open; connect first</source>
        <translation>端口未打开，请先连接端口</translation>
    </message>
    <message>
        <source>The device did not answer the read</source>
        <translation>读取时设备没有应答</translation>
    </message>
    <message>
        <source>Reading cancelled after %1 of %2 parameters</source>
        <translation>读取已取消：已读 %1 / %2 个参数</translation>
    </message>
    <message numerus="yes">
        <source>... and %n more</source>
        <translation>
            <numerusform>……另有 %n 个</numerusform>
        </translation>
    </message>
    <message>
        <source>%1  %2: %3 -&gt; %4</source>
        <translation>%1  %2：%3 → %4</translation>
    </message>
    <message numerus="yes">
        <source>These %n parameter(s) will be written to the device:
</source>
        <translation>
            <numerusform>将把以下 %n 个参数写入设备：
</numerusform>
        </translation>
    </message>
    <message>
        <source>The field cannot take the snapshot&apos;s value</source>
        <translation>快照值无法填入此字段</translation>
    </message>
    <message>
        <source>read back %1</source>
        <translation>读回的值为 %1</translation>
    </message>
    <message>
        <source>no reply when read back</source>
        <translation>读回时设备没有应答</translation>
    </message>
    <message>
        <source>Written: %1</source>
        <translation>已写入 %1 个：</translation>
    </message>
    <message>
        <source>Verified: %1</source>
        <translation>已校验 %1 个：</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>失败 %1 个：</translation>
    </message>
    <message>
        <source>Writing was cancelled.
</source>
        <translation>写入已取消。
</translation>
    </message>
    <message>
        <source>Save snapshot</source>
        <translation>保存快照</translation>
    </message>
    <message>
        <source>Snapshots (*.csv)</source>
        <translation>快照 (*.csv)</translation>
    </message>
    <message>
        <source>The snapshot was not saved: %1
%2</source>
        <translation>快照未保存：%1
%2</translation>
    </message>
    <message numerus="yes">
        <source>%n parameter(s) saved to %1</source>
        <translation>
            <numerusform>已保存 %n 个参数到 %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Load snapshot</source>
        <translation>载入快照</translation>
    </message>
    <message>
        <source>The snapshot cannot be read: %1
%2</source>
        <translation>无法读取快照：%1
%2</translation>
    </message>
    <message>
        <source>the file is too large</source>
        <translation>文件太大</translation>
    </message>
    <message>
        <source>Load or save a snapshot first</source>
        <translation>请先载入或保存快照</translation>
    </message>
    <message>
        <source>snapshot: %1, device: %2</source>
        <translation>快照：%1，设备：%2</translation>
    </message>
    <message>
        <source>%1  %2: snapshot %3, device %4</source>
        <translation>%1  %2：快照 %3，设备 %4</translation>
    </message>
    <message>
        <source>The device matches the snapshot</source>
        <translation>设备与快照一致</translation>
    </message>
    <message numerus="yes">
        <source>%n parameter(s) differ from the snapshot:
</source>
        <translation>
            <numerusform>%n 个参数与快照不同：
</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n parameter(s) did not answer:</source>
        <translation>
            <numerusform>%n 个参数没有应答：</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n parameter(s) did not answer and will not be written:</source>
        <translation>
            <numerusform>%n 个参数没有应答，不会写入：</numerusform>
        </translation>
    </message>
    <message>
        <source>%1  %2: %3</source>
        <translation>%1  %2：%3</translation>
    </message>
    <message>
        <source> (%1)</source>
        <translation>（%1）</translation>
    </message>
    <message>
        <source>No answer to the write: %1</source>
        <translation>写入没有应答 %1 个：</translation>
    </message>
    <message numerus="yes">
        <source>%n parameter(s) did not answer and were not written:</source>
        <translation>
            <numerusform>%n 个参数没有应答，未写入：</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 is no snapshot file: %2; nothing was changed</source>
        <translation>%1 不是快照文件：%2；未改变任何参数</translation>
    </message>
    <message>
        <source>The parameters that answered match the snapshot</source>
        <translation>应答的参数与快照一致</translation>
    </message>
    <message numerus="yes">
        <source>%n parameter(s) did not answer and were not compared:</source>
        <translation>
            <numerusform>%n 个参数没有应答，未比较：</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ConfigFileCheck</name>
    <message>
        <source>permission denied</source>
        <translation>没有读取权限</translation>
    </message>
    <message>
        <source>input/output error</source>
        <translation>磁盘读写错误</translation>
    </message>
    <message>
        <source>too many levels of symbolic links</source>
        <translation>符号链接循环</translation>
    </message>
    <message>
        <source>file name too long</source>
        <translation>路径过长</translation>
    </message>
    <message>
        <source>The configuration file %1 cannot be read (%2)</source>
        <translation>无法读取配置文件%1（%2）</translation>
    </message>
    <message>
        <source>The configuration file %1 was not found</source>
        <translation>未发现配置文件%1</translation>
    </message>
    <message>
        <source>The configuration file %1 is a folder, not a file</source>
        <translation>配置文件%1是文件夹，不是文件</translation>
    </message>
    <message>
        <source>The configuration file %1 is not a regular file but a pipe, device or socket, and cannot be used</source>
        <translation>配置文件%1不是普通文件（而是管道、设备或套接字），无法使用</translation>
    </message>
</context>
<context>
    <name>Connection</name>
    <message>
        <source>Disconnect</source>
        <translation>断开端口</translation>
    </message>
    <message>
        <source>Waiting…</source>
        <translation>等待中…</translation>
    </message>
    <message>
        <source>Waiting for %1 to come back; click the button to stop waiting</source>
        <translation>等待 %1 重新连接；点击按钮停止等待</translation>
    </message>
    <message>
        <source>The %1 &quot;%2&quot; in %3 is not one of its choices.
<byte value="xd"/>The port was not opened.</source>
        <translation>%3 的%1“%2”不在可选项中。
<byte value="xd"/>端口未打开。</translation>
    </message>
    <message>
        <source>The port is already open.</source>
        <translation>串口已打开！</translation>
    </message>
    <message>
        <source>Cannot create the close event.</source>
        <translation>不能创建事件!</translation>
    </message>
    <message>
        <source>Cannot set up the port&apos;s buffers.</source>
        <translation>不能够安装通讯缓存!</translation>
    </message>
    <message>
        <source>Cannot start the port&apos;s reader.</source>
        <translation>不能创建串口读进程!</translation>
    </message>
    <message>
        <source>Cannot start the port&apos;s writer.</source>
        <translation>不能创建串口写进程!</translation>
    </message>
    <message>
        <source>Reason: %1 is not a serial port.</source>
        <translation>原因：%1 不是串口。</translation>
    </message>
    <message>
        <source>Reason: %1</source>
        <translation>原因：%1</translation>
    </message>
    <message>
        <source>Reason: %1 does not exist.</source>
        <translation>原因：%1 不存在。</translation>
    </message>
    <message>
        <source>Reason: no permission to open %1; join the group %2 (sudo usermod -aG %2 $USER) and log in again.</source>
        <translation>原因：没有打开 %1 的权限；请加入 %2 组（sudo usermod -aG %2 $USER）后重新登录。</translation>
    </message>
    <message>
        <source>Reason: %1 is in use by another program.</source>
        <translation>原因：%1 正被其它程序占用。</translation>
    </message>
    <message>
        <source>parity</source>
        <translation>校验位</translation>
    </message>
    <message>
        <source>data bits</source>
        <translation>数据位</translation>
    </message>
    <message>
        <source>stop bits</source>
        <translation>停止位</translation>
    </message>
    <message>
        <source> open error
<byte value="xd"/>Please confirm that this port exists or is not occupied by another program</source>
        <translation>打开错误
<byte value="xd"/>请确认存在此端口或未被其它程序占用</translation>
    </message>
    <message>
        <source> was disconnected
<byte value="xd"/>The device is no longer present; the port has been closed</source>
        <translation>连接已断开
<byte value="xd"/>设备已不存在，端口已关闭</translation>
    </message>
</context>
<context>
    <name>ContactLink</name>
    <message>
        <source>The contact address &quot;%1&quot; was not opened: only web addresses (http, https) and mail addresses (mailto) are opened.</source>
        <translation>未打开联系地址“%1”：只能打开网页地址（http、https）和邮件地址（mailto）。</translation>
    </message>
</context>
<context>
    <name>Controls</name>
    <message>
        <source>Show time</source>
        <translation>显示时间</translation>
    </message>
    <message>
        <source>Auto clear</source>
        <translation>自动清空</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>字符串</translation>
    </message>
    <message>
        <source>Hex</source>
        <translation>16进制</translation>
    </message>
    <message>
        <source>New line</source>
        <translation>自动换行</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清空接收区</translation>
    </message>
    <message>
        <source>Log session to file</source>
        <translation>记录会话到文件</translation>
    </message>
    <message>
        <source>Record every block sent and received in a file in the logs folder beside config.xml</source>
        <translation>把收发的每一块数据记录到配置文件旁 logs 文件夹中的文件</translation>
    </message>
    <message>
        <source>Log folder</source>
        <translation>日志文件夹</translation>
    </message>
    <message>
        <source>Open the folder that holds the session logs</source>
        <translation>打开保存会话日志的文件夹</translation>
    </message>
    <message>
        <source>Save receive box</source>
        <translation>保存接收区</translation>
    </message>
    <message>
        <source>Save the receive box&apos;s text to a file</source>
        <translation>把接收区的内容保存到文件</translation>
    </message>
    <message>
        <source>Send lamp: flashes as data is sent</source>
        <translation>发送指示灯：发送数据时闪烁</translation>
    </message>
    <message>
        <source>TX</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>Receive lamp: flashes as data arrives</source>
        <translation>接收指示灯：收到数据时闪烁</translation>
    </message>
    <message>
        <source>RX</source>
        <translation>接收</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>Batch:</source>
        <translation>批处理指令：</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>连接</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>端口：</translation>
    </message>
    <message>
        <source>Baud:</source>
        <translation>波特率：</translation>
    </message>
    <message>
        <source>Port lamp: red while the port is open</source>
        <translation>端口指示灯：端口打开时为红色</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>连接端口</translation>
    </message>
    <message>
        <source>Reconnect when the device returns</source>
        <translation>断开后等待设备重新连接</translation>
    </message>
    <message>
        <source>After the device is unplugged, wait for it to come back and reopen the port with the same settings</source>
        <translation>设备被拔出后，等它重新插上并以相同设置重新打开端口</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>使用说明</translation>
    </message>
    <message>
        <source>Note 1</source>
        <translation>使用说明1</translation>
    </message>
    <message>
        <source>Note 2</source>
        <translation>使用说明2</translation>
    </message>
    <message>
        <source>Note 3</source>
        <translation>使用说明3</translation>
    </message>
    <message>
        <source>Banner picture</source>
        <translation>横幅图片</translation>
    </message>
    <message>
        <source>Receive and send</source>
        <translation>数据收发</translation>
    </message>
    <message>
        <source>Contact us</source>
        <translation>联系我们</translation>
    </message>
    <message>
        <source>Link: opens the contact address</source>
        <translation>链接：打开联系地址</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>动态指令</translation>
    </message>
    <message>
        <source>Fixed commands</source>
        <translation>固定指令</translation>
    </message>
    <message>
        <source>Auto read</source>
        <translation>自动读取</translation>
    </message>
    <message>
        <source>Trend</source>
        <translation>趋势图</translation>
    </message>
    <message>
        <source>The automatically read values over time</source>
        <translation>自动读取数值随时间的曲线</translation>
    </message>
    <message>
        <source>Read page</source>
        <translation>读取本页</translation>
    </message>
    <message>
        <source>Read every parameter of this page</source>
        <translation>逐个读取本页的全部参数</translation>
    </message>
    <message>
        <source>Read all pages</source>
        <translation>读取全部</translation>
    </message>
    <message>
        <source>Read every parameter of every page</source>
        <translation>逐个读取所有页的全部参数</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Stop the reading or writing in progress</source>
        <translation>停止正在进行的读取或写入</translation>
    </message>
    <message>
        <source>Save snapshot</source>
        <translation>保存快照</translation>
    </message>
    <message>
        <source>Save every parameter&apos;s current value as a CSV file</source>
        <translation>把所有参数的当前值保存为 CSV 文件</translation>
    </message>
    <message>
        <source>Load snapshot</source>
        <translation>载入快照</translation>
    </message>
    <message>
        <source>Fill the parameters from a snapshot file</source>
        <translation>从快照文件填入参数值</translation>
    </message>
    <message>
        <source>Compare with device</source>
        <translation>与设备比较</translation>
    </message>
    <message>
        <source>Read all and list the parameters that differ from the snapshot</source>
        <translation>读取全部参数并列出与快照不同的参数</translation>
    </message>
    <message>
        <source>Write snapshot</source>
        <translation>写入快照</translation>
    </message>
    <message>
        <source>Write only the parameters that differ from the snapshot, and read them back</source>
        <translation>只写入与快照不同的参数，并读回校验</translation>
    </message>
    <message>
        <source>Right-click to set the caption</source>
        <translation>请点击右键设置显示内容</translation>
    </message>
    <message>
        <source>Right-click to set the hint</source>
        <translation>请点击右键设置提示信息</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>读取</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>修改</translation>
    </message>
    <message>
        <source>Show the last</source>
        <translation>显示最近</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>分钟</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>导出CSV</translation>
    </message>
    <message>
        <source>Saves every value of this polling run as a spreadsheet file</source>
        <translation>把本次自动读取的全部数值存为表格文件</translation>
    </message>
</context>
<context>
    <name>Editor</name>
    <message>
        <source>config.xml has no element %1, so the texts of %2 cannot be edited.</source>
        <translation>config.xml 中缺少元素 %1，无法编辑 %2 的显示内容。</translation>
    </message>
    <message>
        <source>config.xml has no element %1; nothing was saved.</source>
        <translation>config.xml 中缺少元素 %1，未保存任何修改。</translation>
    </message>
    <message>
        <source>config.xml has no entry named %1 in TERVALON/LANGUAGE/COMPONETS/%2, so the texts were not saved. The next start in Chinese adds the entry.</source>
        <translation>config.xml 的 TERVALON/LANGUAGE/COMPONETS/%2 中没有名为 %1 的条目，显示内容未保存。下次以中文启动时会添加该条目。</translation>
    </message>
    <message>
        <source>Control displays content Settings</source>
        <translation>控件显示内容设置</translation>
    </message>
    <message>
        <source>Please enter the command corresponding to this button here</source>
        <translation>请在此输入点击此按钮时所发送的指令</translation>
    </message>
</context>
<context>
    <name>FileReplace</name>
    <message>
        <source>no space left on the disk</source>
        <translation>磁盘空间已满</translation>
    </message>
    <message>
        <source>the disk quota is used up</source>
        <translation>磁盘配额已用完</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>没有写入权限</translation>
    </message>
    <message>
        <source>read-only file system</source>
        <translation>只读文件系统</translation>
    </message>
    <message>
        <source>file too large for the file system or the limits of this run</source>
        <translation>文件过大，超出文件系统或本次运行的限制</translation>
    </message>
    <message>
        <source>input/output error of the disk</source>
        <translation>磁盘读写错误</translation>
    </message>
    <message>
        <source>it is a folder, not a file</source>
        <translation>这是文件夹，不是文件</translation>
    </message>
    <message>
        <source>it is not a regular file but a pipe, device or socket</source>
        <translation>不是普通文件，而是管道、设备或套接字</translation>
    </message>
    <message>
        <source>its symbolic links lead round in a circle</source>
        <translation>符号链接循环</translation>
    </message>
</context>
<context>
    <name>LanguageGaps</name>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>另有 %n 处</numerusform>
        </translation>
    </message>
    <message>
        <source>The language table in config.xml lacks the following; the controls concerned show their built-in texts or keep the ones they had:</source>
        <translation>config.xml 的语言表缺少以下内容，相关控件显示程序自带的文字或保留原有文字：</translation>
    </message>
</context>
<context>
    <name>Modbus</name>
    <message>
        <source>illegal function</source>
        <translation>非法功能码</translation>
    </message>
    <message>
        <source>illegal data address</source>
        <translation>非法数据地址</translation>
    </message>
    <message>
        <source>illegal data value</source>
        <translation>非法数据值</translation>
    </message>
    <message>
        <source>server device failure</source>
        <translation>从站设备故障</translation>
    </message>
    <message>
        <source>acknowledge</source>
        <translation>已确认，处理中</translation>
    </message>
    <message>
        <source>server device busy</source>
        <translation>从站设备忙</translation>
    </message>
    <message>
        <source>memory parity error</source>
        <translation>存储奇偶校验错误</translation>
    </message>
    <message>
        <source>gateway path unavailable</source>
        <translation>网关路径不可用</translation>
    </message>
    <message>
        <source>gateway target device failed to respond</source>
        <translation>网关目标设备无响应</translation>
    </message>
    <message>
        <source>exception %1</source>
        <translation>异常 %1</translation>
    </message>
</context>
<context>
    <name>ModbusHealth</name>
    <message>
        <source>Sent %1 · good %2 · time-outs %3</source>
        <translation>已发 %1 · 正常 %2 · 超时 %3</translation>
    </message>
    <message>
        <source>CRC errors %1 · wrong length or late %2 · exceptions %3 · unasked %4</source>
        <translation>校验错 %1 · 长度错或迟到 %2 · 异常 %3 · 无请求 %4</translation>
    </message>
    <message>
        <source>Reply time: last %1, average %2</source>
        <translation>应答时间：最近 %1，平均 %2</translation>
    </message>
    <message>
        <source>Last exception: %1</source>
        <translation>最近异常：%1</translation>
    </message>
    <message>
        <source>No reply within %1 ms; the value shown is older</source>
        <translation>%1 ms 内无应答，显示的是之前的值</translation>
    </message>
    <message>
        <source>The reply was damaged (CRC error); the value shown is older</source>
        <translation>应答已损坏（校验错），显示的是之前的值</translation>
    </message>
    <message>
        <source>The reply had the wrong length; the value shown is older</source>
        <translation>应答长度不对，显示的是之前的值</translation>
    </message>
    <message>
        <source>The reply came after %1 ms; the value shown is older</source>
        <translation>应答晚于 %1 ms 才到，显示的是之前的值</translation>
    </message>
    <message>
        <source>The device refused the request: %1; the value shown is older</source>
        <translation>设备拒绝了请求：%1，显示的是之前的值</translation>
    </message>
    <message>
        <source>The port is closed; the value shown is older</source>
        <translation>端口已关闭，显示的是之前的值</translation>
    </message>
    <message>
        <source>Waiting for the device to return; the value shown is older</source>
        <translation>正在等待设备重新连接，显示的是之前的值</translation>
    </message>
    <message>
        <source>Last good value: %1</source>
        <translation>最近有效值：%1</translation>
    </message>
    <message>
        <source>No value has been read yet</source>
        <translation>尚未读到数值</translation>
    </message>
</context>
<context>
    <name>PageRows</name>
    <message>
        <source>The parameter %1 in config.xml has no integer address (addr).</source>
        <translation>config.xml 中参数 %1 的地址（addr）不是整数。</translation>
    </message>
</context>
<context>
    <name>PollingBlock</name>
    <message>
        <source>the station address equAddr=%1 is not within %2-%3</source>
        <translation>站号 equAddr=%1 不在 %2-%3 之间</translation>
    </message>
    <message>
        <source>the register count regLen=%1 is not within 1-%2</source>
        <translation>寄存器数 regLen=%1 不在 1-%2 之间</translation>
    </message>
    <message>
        <source>the registers from startReg=%1 go beyond 0-65535</source>
        <translation>起始寄存器 startReg=%1 超出 0-65535</translation>
    </message>
    <message>
        <source>Auto-read page &quot;%1&quot;: %2; the page is not polled.</source>
        <translation>自动读取页“%1”：%2，该页不读取。</translation>
    </message>
</context>
<context>
    <name>PortOpening</name>
    <message>
        <source>the port is already open</source>
        <translation>串口已打开</translation>
    </message>
    <message>
        <source>cannot create the close event</source>
        <translation>不能创建事件</translation>
    </message>
    <message>
        <source>cannot set up the port&apos;s buffers</source>
        <translation>不能够安装通讯缓存</translation>
    </message>
    <message>
        <source>cannot start the port&apos;s reader</source>
        <translation>不能创建串口读进程</translation>
    </message>
    <message>
        <source>cannot start the port&apos;s writer</source>
        <translation>不能创建串口写进程</translation>
    </message>
    <message>
        <source>%1 is not a serial port</source>
        <translation>%1 不是串口</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 不存在</translation>
    </message>
    <message>
        <source>no permission to open %1; join the group %2 (sudo usermod -aG %2 $USER) and log in again</source>
        <translation>没有打开 %1 的权限；请加入 %2 组（sudo usermod -aG %2 $USER）后重新登录</translation>
    </message>
    <message>
        <source>%1 is in use by another program</source>
        <translation>%1 正被其它程序占用</translation>
    </message>
    <message>
        <source>the baud rate &quot;%1&quot; is not a positive whole number</source>
        <translation>波特率“%1”不是正整数</translation>
    </message>
    <message>
        <source>parity</source>
        <translation>校验位</translation>
    </message>
    <message>
        <source>data bits</source>
        <translation>数据位</translation>
    </message>
    <message>
        <source>stop bits</source>
        <translation>停止位</translation>
    </message>
    <message>
        <source>the %1 &quot;%2&quot; is not one of %3</source>
        <translation>%1“%2”不在可选项 %3 中</translation>
    </message>
    <message>
        <source>no port is named</source>
        <translation>未指定端口</translation>
    </message>
</context>
<context>
    <name>ReceiveLogView</name>
    <message>
        <source>&amp;Copy</source>
        <translation>复制(&amp;C)</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>全选</translation>
    </message>
    <message>
        <source>Received data</source>
        <translation>接收的数据</translation>
    </message>
</context>
<context>
    <name>Receiving</name>
    <message>
        <source>[... the oldest %1 characters are no longer shown ...]</source>
        <translation>[... 最早的 %1 个字符已不再显示 ...]</translation>
    </message>
</context>
<context>
    <name>Sending</name>
    <message>
        <source>The parameter value cannot be empty</source>
        <translation>参数不能为空</translation>
    </message>
    <message>
        <source>There is no batch named &quot;%1&quot;; nothing was sent</source>
        <translation>没有名为“%1”的批处理指令，未发送任何内容</translation>
    </message>
</context>
<context>
    <name>SessionLogging</name>
    <message>
        <source>The session log %1 could not be created; nothing is logged.</source>
        <translation>无法创建会话日志 %1，不会记录任何内容。</translation>
    </message>
    <message>
        <source>Save receive box</source>
        <translation>保存接收区</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>The session log could not be written to %1: %2. Logging has stopped; what was written before stays in the file.</source>
        <translation>无法写入会话日志 %1：%2。记录已停止，之前写入的内容仍保留在文件中。</translation>
    </message>
</context>
<context>
    <name>ShowingErrors</name>
    <message>
        <source>Out of memory; the operation was not completed</source>
        <translation>内存不足，操作未完成</translation>
    </message>
    <message>
        <source>Unknown error; the operation was not completed</source>
        <translation>未知错误，操作未完成</translation>
    </message>
</context>
<context>
    <name>SnapshotCheck</name>
    <message>
        <source>it holds a control character</source>
        <translation>含有控制字符</translation>
    </message>
    <message>
        <source>it holds # or $, which would cut the command short</source>
        <translation>含有 # 或 $，会截断命令</translation>
    </message>
    <message>
        <source>it holds a comma, which the command uses between address and value</source>
        <translation>含有逗号，命令用它分隔地址和值</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no hexadecimal number</source>
        <translation>“%1”不是十六进制数</translation>
    </message>
    <message>
        <source>device value &quot;%1&quot; of a hexadecimal parameter is no whole number</source>
        <translation>十六进制参数的设备值“%1”不是整数</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not one of the choices</source>
        <translation>“%1”不是可选的值</translation>
    </message>
    <message>
        <source>no value</source>
        <translation>没有值</translation>
    </message>
    <message>
        <source>&quot;%1&quot; looks like a formula</source>
        <translation>“%1”像是公式</translation>
    </message>
    <message>
        <source>no parameter</source>
        <translation>不是参数</translation>
    </message>
    <message>
        <source>no parameter has this tag and address</source>
        <translation>没有此标记和地址的参数</translation>
    </message>
    <message numerus="yes">
        <source>%n parameter(s) loaded</source>
        <translation>
            <numerusform>已载入 %n 个参数</numerusform>
        </translation>
    </message>
    <message>
        <source>line %1  %2  %3: %4</source>
        <translation>第 %1 行  %2  %3：%4</translation>
    </message>
    <message numerus="yes">
        <source>... and %n more row(s)</source>
        <translation>
            <numerusform>……另有 %n 行</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>; %n row(s) not loaded, their parameters left as they were:
</source>
        <translation>
            <numerusform>；%n 行未载入，这些参数保持不变：
</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SnapshotCsv</name>
    <message>
        <source>the file is empty</source>
        <translation>文件是空的</translation>
    </message>
    <message>
        <source>it is no text file (line %1 holds binary data)</source>
        <translation>这不是文本文件（第 %1 行含有二进制数据）</translation>
    </message>
    <message>
        <source>the file&apos;s encoding is not recognised (line %1 is neither UTF-8 nor GB18030/GBK)</source>
        <translation>无法识别文件的编码（第 %1 行既不是 UTF-8 也不是 GB18030/GBK）</translation>
    </message>
    <message>
        <source>line %1 is no snapshot header; missing columns: %2</source>
        <translation>第 %1 行不是快照的标题行，缺少列：%2</translation>
    </message>
    <message>
        <source>the quote opened on line %1 is never closed</source>
        <translation>第 %1 行的引号没有结束</translation>
    </message>
    <message>
        <source>line %1 has fewer cells than the header</source>
        <translation>第 %1 行的列数少于标题行</translation>
    </message>
</context>
<context>
    <name>StartupMessages</name>
    <message>
        <source>, line %1</source>
        <translation>，第%1行</translation>
    </message>
    <message>
        <source>Where: %1%2, attribute %4 of element %3. Correct its value and start the program again.</source>
        <translation>位置：%1%2，元素 %3 的属性 %4。请改正该属性的值后重新启动程序。</translation>
    </message>
    <message>
        <source>Where: %1%2, element %3 has no attribute %4. Add %4=&quot;...&quot; to that element and start the program again.</source>
        <translation>位置：%1%2，元素 %3 缺少属性 %4。请在该元素中加上 %4=&quot;…&quot; 后重新启动程序。</translation>
    </message>
    <message>
        <source>The configuration file was not loaded completely: changes made in this run will not be written to it.</source>
        <translation>配置文件未能完整载入：本次运行中的更改不会写入该文件。</translation>
    </message>
    <message>
        <source>%1
Changes made in this run will not be saved.</source>
        <translation>%1
本次运行中的更改不会保存。</translation>
    </message>
    <message>
        <source>The configuration file %1 cannot be written (%2); changes made in this run will not be saved.</source>
        <translation>配置文件%1无法写入（%2），本次运行中的更改不会保存。</translation>
    </message>
    <message>
        <source>No configuration file was found. Looked in:</source>
        <translation>未发现配置文件。查找过：</translation>
    </message>
    <message>
        <source>The user&apos;s own file could not be made from the installed example: %1</source>
        <translation>无法从安装的示例创建用户的配置文件：%1</translation>
    </message>
</context>
<context>
    <name>TForm_Main</name>
    <message>
        <source>Keep the banner moving in the background</source>
        <translation>窗口不在前台时横幅继续流动</translation>
    </message>
</context>
<context>
    <name>TrendCsv</name>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
</context>
<context>
    <name>TrendReading</name>
    <message>
        <source>Nothing to export yet: no value has been read automatically.</source>
        <translation>尚无可导出的数据：还没有自动读取到数值。</translation>
    </message>
    <message>
        <source>Could not write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>Exported to %1.</source>
        <translation>已导出到 %1。</translation>
    </message>
    <message numerus="yes">
        <source> The oldest %n values no longer fitted in memory and are not in it.</source>
        <translation>
            <numerusform>最早的 %n 个数值已超出内存容量，未包含在内。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>XmlDocument</name>
    <message>
        <source>Could not save the configuration file &apos;%1&apos;: %2</source>
        <translation>配置文件“%1”未能保存：%2</translation>
    </message>
    <message>
        <source>the name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>the attribute name</source>
        <translation>属性名</translation>
    </message>
    <message>
        <source>the comment</source>
        <translation>注释</translation>
    </message>
    <message>
        <source>the processing instruction</source>
        <translation>处理指令</translation>
    </message>
    <message>
        <source>the document type</source>
        <translation>文档类型</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; cannot be written in the file&apos;s encoding &apos;%3&apos;</source>
        <translation>%1“%2”无法用文件的编码“%3”保存</translation>
    </message>
    <message>
        <source>the encoding &apos;%1&apos; is not supported</source>
        <translation>不支持编码“%1”</translation>
    </message>
    <message>
        <source>what would be written does not read back as the same document</source>
        <translation>写入的内容读回后与原文档不同</translation>
    </message>
    <message>
        <source>what would be written could not be read back: %1</source>
        <translation>写入的内容无法读回：%1</translation>
    </message>
    <message>
        <source>Could not read the configuration file &apos;%1&apos;: %2</source>
        <translation>无法读取配置文件“%1”：%2</translation>
    </message>
    <message>
        <source>line %1, column %2</source>
        <translation>第 %1 行第 %2 列</translation>
    </message>
    <message>
        <source>it is larger than %1 MiB, far more than any configuration needs</source>
        <translation>文件大于 %1 MiB，远超任何配置所需</translation>
    </message>
    <message>
        <source>it is a folder, not a file</source>
        <translation>这是文件夹，不是文件</translation>
    </message>
    <message>
        <source>it is not a regular file but a pipe, device or socket</source>
        <translation>这不是普通文件，而是管道、设备或套接字</translation>
    </message>
    <message>
        <source>its declared encoding &apos;%1&apos; is not supported</source>
        <translation>不支持其声明的编码“%1”</translation>
    </message>
    <message>
        <source>byte %1 is not valid in its declared encoding &apos;%2&apos;</source>
        <translation>第 %1 个字节在其声明的编码“%2”中无效</translation>
    </message>
    <message>
        <source>it is not valid UTF-8 text; a file in another encoding must declare it, e.g. &lt;?xml version=&quot;1.0&quot; encoding=&quot;GB18030&quot;?&gt;</source>
        <translation>这不是有效的 UTF-8 文本；其他编码的文件必须声明其编码，例如 &lt;?xml version=&quot;1.0&quot; encoding=&quot;GB18030&quot;?&gt;</translation>
    </message>
    <message>
        <source>its elements are nested more than %1 levels deep (at %2)</source>
        <translation>其元素嵌套超过 %1 层（位于 %2）</translation>
    </message>
    <message>
        <source>its XML declaration is malformed; write it as &lt;?xml version=&quot;1.0&quot; encoding=&quot;%1&quot;?&gt;</source>
        <translation>其 XML 声明格式有误；请写成 &lt;?xml version=&quot;1.0&quot; encoding=&quot;%1&quot;?&gt;</translation>
    </message>
</context>
</TS>

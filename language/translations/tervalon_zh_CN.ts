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
    <name>PageRows</name>
    <message>
        <source>The parameter %1 in config.xml has no integer address (addr).</source>
        <translation>config.xml 中参数 %1 的地址（addr）不是整数。</translation>
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
    <name>TForm_Main</name>
    <message>
        <source>Keep the banner moving in the background</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrendCsv</name>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
</context>
</TS>

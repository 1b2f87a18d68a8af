<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>AdvancedDialog</name>
    <message>
        <source>高级设置</source>
        <translation>Advanced Settings</translation>
    </message>
    <message>
        <source>消极治疗阶段</source>
        <translation>Passive stage</translation>
    </message>
    <message>
        <source>转速补偿</source>
        <translation>Speed compensation</translation>
    </message>
    <message>
        <source>跳过此阶段</source>
        <translation>Skip this stage</translation>
    </message>
    <message>
        <source>疲劳侦测</source>
        <translation>Fatigue detection</translation>
    </message>
    <message>
        <source>持续时间</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>时间阈值</source>
        <translation>Time threshold</translation>
    </message>
    <message>
        <source>转速阈值</source>
        <translation>Speed threshold</translation>
    </message>
    <message>
        <source>预热治疗阶段</source>
        <translation>Warm-up stage</translation>
    </message>
    <message>
        <source>加速持续时间</source>
        <translation>Acceleration time</translation>
    </message>
    <message>
        <source>预热期最大电量</source>
        <translation>Maximum warm-up current</translation>
    </message>
    <message>
        <source>启用电刺激</source>
        <translation>Electrical stimulation</translation>
    </message>
    <message>
        <source>电刺激上升幅度</source>
        <translation>Stimulation current rise</translation>
    </message>
    <message>
        <source>积极治疗阶段</source>
        <translation>Active stage</translation>
    </message>
    <message>
        <source>(向前)持续时间</source>
        <translation>(Forward) duration</translation>
    </message>
    <message>
        <source>(向前)控制速度</source>
        <translation>(Forward) control speed</translation>
    </message>
    <message>
        <source>(向后)转速补偿</source>
        <translation>(Backward) speed compensation</translation>
    </message>
    <message>
        <source>(向后)持续时间</source>
        <translation>(Backward) duration</translation>
    </message>
    <message>
        <source>(向后)阻力扭矩补偿</source>
        <translation>(Backward) torque compensation</translation>
    </message>
    <message>
        <source>档</source>
        <translation>level</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
</context>
<context>
    <name>ArmOrLeg</name>
    <message>
        <source>参数设置</source>
        <translation>Parameter Settings</translation>
    </message>
    <message>
        <source>训练部位</source>
        <translation>Body part</translation>
    </message>
    <message>
        <source>水平上肢</source>
        <translation>Horizontal Limb</translation>
    </message>
    <message>
        <source>垂直上肢</source>
        <translation>Vertical Limb</translation>
    </message>
    <message>
        <source>下肢</source>
        <translation>Lower Limb</translation>
    </message>
    <message>
        <source>上下肢</source>
        <translation>Upper and Lower</translation>
    </message>
    <message>
        <source>游戏选择</source>
        <translation>Game</translation>
    </message>
    <message>
        <source>训练模式</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>被动模式</source>
        <translation>Passive Mode</translation>
    </message>
    <message>
        <source>主动模式</source>
        <translation>Active Mode</translation>
    </message>
    <message>
        <source>助力模式</source>
        <translation>Assisted Mode</translation>
    </message>
    <message>
        <source>等速模式</source>
        <translation>Isokinetic Mode</translation>
    </message>
    <message>
        <source>主被动模式</source>
        <translation>Active/Passive Mode</translation>
    </message>
    <message>
        <source>导入处方</source>
        <translation>Import Prescription</translation>
    </message>
    <message>
        <source>更多设置</source>
        <translation>More Settings</translation>
    </message>
    <message>
        <source>一键上机</source>
        <translation>One-Click Mounting</translation>
    </message>
    <message>
        <source>高级设置</source>
        <translation>Advanced Settings</translation>
    </message>
    <message>
        <source>下一步</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>开始训练</source>
        <translation>Start Training</translation>
    </message>
    <message>
        <source>设定速度已超30r/min，确认使用该速度训练吗？</source>
        <translation>The set speed is above 30 r/min. Train at this speed?</translation>
    </message>
</context>
<context>
    <name>BLEItem</name>
    <message>
        <source>电刺激盒%1</source>
        <translation>Stimulator %1</translation>
    </message>
    <message>
        <source>连接</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>断开</source>
        <translation>Disconnect</translation>
    </message>
</context>
<context>
    <name>CMainWindow</name>
    <message>
        <source>上下肢主被动康复训练仪</source>
        <translation>Upper and Lower Limb Active/Passive Rehabilitation Trainer</translation>
    </message>
</context>
<context>
    <name>ChannelDialog</name>
    <message>
        <source>通道设置</source>
        <translation>Channel Settings</translation>
    </message>
    <message>
        <source>输出开关</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>左侧</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>肱二头肌</source>
        <translation>Biceps</translation>
    </message>
    <message>
        <source>肱三头肌</source>
        <translation>Triceps</translation>
    </message>
    <message>
        <source>前三角肌</source>
        <translation>Anterior Deltoid</translation>
    </message>
    <message>
        <source>后三角肌</source>
        <translation>Posterior Deltoid</translation>
    </message>
    <message>
        <source>屈腕肌</source>
        <translation>Wrist Flexors</translation>
    </message>
    <message>
        <source>伸腕肌</source>
        <translation>Wrist Extensors</translation>
    </message>
    <message>
        <source>肩胛肌</source>
        <translation>Scapular Muscles</translation>
    </message>
    <message>
        <source>冈上肌</source>
        <translation>Supraspinatus</translation>
    </message>
    <message>
        <source>腘绳肌</source>
        <translation>Hamstrings</translation>
    </message>
    <message>
        <source>臀大肌</source>
        <translation>Gluteus Maximus</translation>
    </message>
    <message>
        <source>胫前肌</source>
        <translation>Tibialis Anterior</translation>
    </message>
    <message>
        <source>腓肠肌</source>
        <translation>Gastrocnemius</translation>
    </message>
    <message>
        <source>腹肌</source>
        <translation>Abdominals</translation>
    </message>
    <message>
        <source>竖脊肌</source>
        <translation>Erector Spinae</translation>
    </message>
    <message>
        <source>股四头肌</source>
        <translation>Quadriceps</translation>
    </message>
    <message>
        <source>右侧</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>频率</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>脉宽</source>
        <translation>Pulse Width</translation>
    </message>
    <message>
        <source>最小电流</source>
        <translation>Min Current</translation>
    </message>
    <message>
        <source>最大电流</source>
        <translation>Max Current</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>未选择肌肉！</source>
        <translation>No muscle selected!</translation>
    </message>
</context>
<context>
    <name>ChannelOnlyDialog</name>
    <message>
        <source>通道设置</source>
        <translation>Channel Settings</translation>
    </message>
    <message>
        <source>输出开关</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>频率</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>脉宽</source>
        <translation>Pulse Width</translation>
    </message>
    <message>
        <source>最小电流</source>
        <translation>Min Current</translation>
    </message>
    <message>
        <source>最大电流</source>
        <translation>Max Current</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
</context>
<context>
    <name>ChannelSliderLogic</name>
    <message>
        <source>通道A%1</source>
        <translation>Channel A%1</translation>
    </message>
    <message>
        <source>通道B%1</source>
        <translation>Channel B%1</translation>
    </message>
    <message>
        <source>通道C%1</source>
        <translation>Channel C%1</translation>
    </message>
    <message>
        <source>通道D%1</source>
        <translation>Channel D%1</translation>
    </message>
</context>
<context>
    <name>DeleteReportDialog</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>确认是否删除报告</source>
        <translation>Delete the report?</translation>
    </message>
    <message>
        <source>删除后无法恢复</source>
        <translation>A deletion cannot be undone.</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
</context>
<context>
    <name>DeleteUserDialog</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>确认是否删除用户</source>
        <translation>Delete this patient?</translation>
    </message>
    <message>
        <source>删除后无法恢复</source>
        <translation>A deletion cannot be undone.</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
</context>
<context>
    <name>EmergencyStopDialog</name>
    <message>
        <source>急停</source>
        <translation>Emergency Stop</translation>
    </message>
</context>
<context>
    <name>FesControlDialog</name>
    <message>
        <source>电刺激控制</source>
        <translation>Stimulator Control</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>扫描</source>
        <translation>Scan</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>Query</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>FES串口打开失败</source>
        <translation>Failed to open the FES serial port</translation>
    </message>
    <message>
        <source>FES无可用串口</source>
        <translation>No serial port available for FES</translation>
    </message>
    <message>
        <source>串口打开失败</source>
        <translation>Failed to open the serial port</translation>
    </message>
</context>
<context>
    <name>FesParamBtn</name>
    <message>
        <source>参数</source>
        <translation>Parameter</translation>
    </message>
</context>
<context>
    <name>FesSetting</name>
    <message>
        <source>电刺激</source>
        <translation>Electrical Stimulation</translation>
    </message>
    <message>
        <source>全局参数</source>
        <translation>Global Parameters</translation>
    </message>
    <message>
        <source>电刺激通道</source>
        <translation>Stimulation Channels</translation>
    </message>
    <message>
        <source>A刺激盒</source>
        <translation>Stimulator A</translation>
    </message>
    <message>
        <source>B刺激盒</source>
        <translation>Stimulator B</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>治疗时间</source>
        <translation>Treatment Time</translation>
    </message>
    <message>
        <source>Treatment Time</source>
        <translation>Treatment Time</translation>
    </message>
    <message>
        <source>全局频率</source>
        <translation>Global Frequency</translation>
    </message>
    <message>
        <source>Global Frequency</source>
        <translation>Global Frequency</translation>
    </message>
    <message>
        <source>上升时间</source>
        <translation>Rise Time</translation>
    </message>
    <message>
        <source>Rise Time</source>
        <translation>Rise Time</translation>
    </message>
    <message>
        <source>下降时间</source>
        <translation>Fall Time</translation>
    </message>
    <message>
        <source>Fall Time</source>
        <translation>Fall Time</translation>
    </message>
    <message>
        <source>打开时间</source>
        <translation>Open Time</translation>
    </message>
    <message>
        <source>Open Time</source>
        <translation>Open Time</translation>
    </message>
    <message>
        <source>关闭时间</source>
        <translation>Close Time</translation>
    </message>
    <message>
        <source>Close Time</source>
        <translation>Close Time</translation>
    </message>
    <message>
        <source>全局脉宽</source>
        <translation>Global pulse duration</translation>
    </message>
    <message>
        <source>Global pulse duration</source>
        <translation>Global pulse duration</translation>
    </message>
    <message>
        <source>剩余时间</source>
        <translation>Remaining Time</translation>
    </message>
    <message>
        <source>肌肉</source>
        <translation>Muscle</translation>
    </message>
    <message>
        <source>正向角度</source>
        <translation>Forward Angles</translation>
    </message>
    <message>
        <source>逆向角度</source>
        <translation>Reverse Angles</translation>
    </message>
    <message>
        <source>结束</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>无配方</source>
        <translation>No recipe</translation>
    </message>
    <message>
        <source>通道%1的肌肉没有可用的配方，不能开始。</source>
        <translation>The muscle of channel %1 has no usable recipe; the training cannot start.</translation>
    </message>
    <message>
        <source>电刺激连接已断开，治疗已停止。请检查刺激盒。</source>
        <translation>The stimulation link was lost and the treatment has been stopped. Please check the stimulation boxes.</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
</context>
<context>
    <name>FesTotalParamDialog</name>
    <message>
        <source>参数设置</source>
        <translation>Parameter Settings</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
</context>
<context>
    <name>GameDisplayPage</name>
    <message>
        <source>训练</source>
        <translation>Training</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>上肢训练</source>
        <translation>Upper Limb Training</translation>
    </message>
    <message>
        <source>被动</source>
        <translation>Passive</translation>
    </message>
    <message>
        <source>上肢</source>
        <translation>Upper Limb</translation>
    </message>
    <message>
        <source>速度</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>功率</source>
        <translation>Power</translation>
    </message>
    <message>
        <source>剩余时间</source>
        <translation>Remaining Time</translation>
    </message>
    <message>
        <source>下肢</source>
        <translation>Lower Limb</translation>
    </message>
    <message>
        <source>平衡</source>
        <translation>Balance</translation>
    </message>
    <message>
        <source>左平衡:</source>
        <translation>Left balance:</translation>
    </message>
    <message>
        <source>右平衡:</source>
        <translation>Right balance:</translation>
    </message>
    <message>
        <source>距离</source>
        <translation>Distance</translation>
    </message>
    <message>
        <source>训练距离</source>
        <translation>Distance trained</translation>
    </message>
    <message>
        <source>生命体征</source>
        <translation>Vital signs</translation>
    </message>
    <message>
        <source>心率</source>
        <translation>Heart rate</translation>
    </message>
    <message>
        <source>脉搏</source>
        <translation>Pulse</translation>
    </message>
    <message>
        <source>血氧饱和度</source>
        <translation>SpO2</translation>
    </message>
    <message>
        <source>心电监护</source>
        <translation>ECG</translation>
    </message>
    <message>
        <source>角度</source>
        <translation>Angles</translation>
    </message>
    <message>
        <source>左手</source>
        <translation>Left hand</translation>
    </message>
    <message>
        <source>左脚</source>
        <translation>Left foot</translation>
    </message>
    <message>
        <source>速度(r/min)</source>
        <translation>Speed (r/min)</translation>
    </message>
    <message>
        <source>阻力(档)</source>
        <translation>Resistance (level)</translation>
    </message>
    <message>
        <source>方向</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>正向</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>逆向</source>
        <translation>Backward</translation>
    </message>
    <message>
        <source>电刺激电流(mA)</source>
        <translation>Stimulation current (mA)</translation>
    </message>
    <message>
        <source>通道A1:</source>
        <translation>Channel A1:</translation>
    </message>
    <message>
        <source>通道A2:</source>
        <translation>Channel A2:</translation>
    </message>
    <message>
        <source>通道B1:</source>
        <translation>Channel B1:</translation>
    </message>
    <message>
        <source>通道B2:</source>
        <translation>Channel B2:</translation>
    </message>
    <message>
        <source>通道C1:</source>
        <translation>Channel C1:</translation>
    </message>
    <message>
        <source>通道C2:</source>
        <translation>Channel C2:</translation>
    </message>
    <message>
        <source>通道D1:</source>
        <translation>Channel D1:</translation>
    </message>
    <message>
        <source>通道D2:</source>
        <translation>Channel D2:</translation>
    </message>
    <message>
        <source>电刺激</source>
        <translation>Electrical Stimulation</translation>
    </message>
    <message>
        <source>电刺激开关</source>
        <translation>Stimulation switch</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>未检测到电刺激设备</source>
        <translation>No stimulation device found</translation>
    </message>
    <message>
        <source>下肢训练</source>
        <translation>Lower Limb Training</translation>
    </message>
    <message>
        <source>上下肢训练</source>
        <translation>Upper and Lower Limb Training</translation>
    </message>
    <message>
        <source>设定速度已超30r/min，确认使用该速度训练吗？</source>
        <translation>The set speed is above 30 r/min. Train at this speed?</translation>
    </message>
</context>
<context>
    <name>GameStarter</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>游戏未能启动，请重试</source>
        <translation>The game did not start. Please try again.</translation>
    </message>
</context>
<context>
    <name>HorizontalToVerticalDialog</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>请将上肢训练部分由水平</source>
        <translation>Please rotate the upper limb training part</translation>
    </message>
    <message>
        <source>旋转至垂直进行训练</source>
        <translation>from horizontal to vertical for training</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
</context>
<context>
    <name>LinkWarningPresenter</name>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>获取串口配置失败</source>
        <translation>Failed to get the serial port configuration</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Failed to open the serial port</source>
        <translation>Failed to open the serial port</translation>
    </message>
    <message>
        <source>串口打开失败</source>
        <translation>Failed to open the serial port</translation>
    </message>
</context>
<context>
    <name>LoginWidget</name>
    <message>
        <source>登录</source>
        <translation>Login</translation>
    </message>
    <message>
        <source>上下肢主被动康复训练仪</source>
        <translation>Upper and Lower Limb Active/Passive Rehabilitation Trainer</translation>
    </message>
    <message>
        <source>请输入用户名</source>
        <translation>Enter user name</translation>
    </message>
    <message>
        <source>用户名输入错误</source>
        <translation>Wrong user name</translation>
    </message>
    <message>
        <source>请输入密码</source>
        <translation>Enter password</translation>
    </message>
    <message>
        <source>密码输入错误</source>
        <translation>Wrong password</translation>
    </message>
    <message>
        <source>记住密码</source>
        <translation>Remember password</translation>
    </message>
    <message>
        <source>忘记密码</source>
        <translation>Forgot password</translation>
    </message>
    <message>
        <source>请联系管理员获取初始密码</source>
        <translation>Please ask the administrator for the initial password</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>关机</source>
        <translation>Shut Down</translation>
    </message>
</context>
<context>
    <name>MachineStartDialog</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>是否开始一键上机</source>
        <translation>Start one-click mounting?</translation>
    </message>
    <message>
        <source>结束上机</source>
        <translation>End Mounting</translation>
    </message>
    <message>
        <source>下肢开始</source>
        <translation>Start Lower Limb</translation>
    </message>
    <message>
        <source>上肢开始</source>
        <translation>Start Upper Limb</translation>
    </message>
</context>
<context>
    <name>MaiBoXueyangDialog</name>
    <message>
        <source>脉搏血氧</source>
        <translation>Pulse Oximetry</translation>
    </message>
    <message>
        <source>搜索附近的蓝牙低功耗血氧仪，列出其地址。</source>
        <translation>Searches for Bluetooth Low Energy pulse oximeters nearby and lists their addresses.</translation>
    </message>
    <message>
        <source>搜索</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>血氧仪只供查找，不需连接</source>
        <translation>The oximeter is only searched for; no connection is needed</translation>
    </message>
    <message>
        <source>连接</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>OperatorAccount</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>密码更新成功</source>
        <translation>Password updated</translation>
    </message>
    <message>
        <source>原密码输入错误</source>
        <translation>Wrong old password</translation>
    </message>
    <message>
        <source>两次输入的密码不同</source>
        <translation>The two passwords differ</translation>
    </message>
    <message>
        <source>密码保存失败，请检查配置文件夹</source>
        <translation>The password was not saved: check the configuration folder</translation>
    </message>
    <message>
        <source>密码重置成功</source>
        <translation>Password reset</translation>
    </message>
    <message>
        <source>密码重置失败，请检查配置文件夹</source>
        <translation>The password was not reset: check the configuration folder</translation>
    </message>
</context>
<context>
    <name>ParamTipsDialog</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
</context>
<context>
    <name>PatientRules</name>
    <message>
        <source>男</source>
        <translation>Male</translation>
    </message>
    <message>
        <source>女</source>
        <translation>Female</translation>
    </message>
</context>
<context>
    <name>PrescriptionDialog</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>未查询到您上一次训练处方！</source>
        <translation>No prescription from your last training was found!</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
</context>
<context>
    <name>ProtectGameStart</name>
    <message>
        <source>加载中...</source>
        <translation>Loading...</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>不可重复开启进程</source>
        <translation>The program is already running</translation>
    </message>
</context>
<context>
    <name>QuitBySpeedDialog</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>速度已超99r/min,设备将在5s内停止</source>
        <translation>Over 99 r/min: the device stops within 5 s</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
</context>
<context>
    <name>QuitGameDialog</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>游戏正在运行中，确认退出吗?</source>
        <translation>The game is running. Quit anyway?</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
</context>
<context>
    <name>ReportDialogBase</name>
    <message>
        <source>女</source>
        <translation>Female</translation>
    </message>
    <message>
        <source>男</source>
        <translation>Male</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>报告保存成功</source>
        <translation>The report has been saved</translation>
    </message>
    <message>
        <source>保存文件</source>
        <translation>Save File</translation>
    </message>
    <message>
        <source>*.pdf</source>
        <translation>*.pdf</translation>
    </message>
    <message>
        <source>导出文件</source>
        <translation>Export File</translation>
    </message>
    <message>
        <source>文件打开失败</source>
        <translation>The file could not be opened</translation>
    </message>
    <message>
        <source>报告导出失败</source>
        <translation>The report could not be exported</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>报告导出成功</source>
        <translation>The report has been exported</translation>
    </message>
</context>
<context>
    <name>SelectUserDialog</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>确认选择当前用户?</source>
        <translation>Select this patient?</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
</context>
<context>
    <name>SettingWidget</name>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>系统设置</source>
        <translation>System Settings</translation>
    </message>
    <message>
        <source>密码管理</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>产品信息</source>
        <translation>Product Information</translation>
    </message>
    <message>
        <source>语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>扭矩等级</source>
        <translation>Torque Level</translation>
    </message>
    <message>
        <source>低</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>中</source>
        <translation>Middle</translation>
    </message>
    <message>
        <source>高</source>
        <translation>High</translation>
    </message>
    <message>
        <source>软件版本</source>
        <translation>Software Versions</translation>
    </message>
    <message>
        <source>上位机软件版本</source>
        <translation>Control program</translation>
    </message>
    <message>
        <source>下位机软件版本</source>
        <translation>Motor controller</translation>
    </message>
    <message>
        <source>高度调节</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>上升</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>下降</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>电刺激</source>
        <translation>Electrical Stimulation</translation>
    </message>
    <message>
        <source>配置</source>
        <translation>Configure</translation>
    </message>
    <message>
        <source>启用</source>
        <translation>Enable</translation>
    </message>
    <message>
        <source>脉搏血氧</source>
        <translation>Pulse Oximetry</translation>
    </message>
    <message>
        <source>搜索设备</source>
        <translation>Search Devices</translation>
    </message>
    <message>
        <source>未连接</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <source>原密码</source>
        <translation>Old password</translation>
    </message>
    <message>
        <source>请输入原密码</source>
        <translation>Enter the old password</translation>
    </message>
    <message>
        <source>原密码输入错误</source>
        <translation>Wrong old password</translation>
    </message>
    <message>
        <source>新密码</source>
        <translation>New password</translation>
    </message>
    <message>
        <source>请输入新密码</source>
        <translation>Enter the new password</translation>
    </message>
    <message>
        <source>确认密码</source>
        <translation>Confirm password</translation>
    </message>
    <message>
        <source>请再次输入新密码</source>
        <translation>Enter the new password again</translation>
    </message>
    <message>
        <source>两次输入的密码不同</source>
        <translation>The two passwords differ</translation>
    </message>
    <message>
        <source>重置密码</source>
        <translation>Reset Password</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>已启用</source>
        <translation>Enabled</translation>
    </message>
    <message>
        <source>已连接</source>
        <translation>Connected</translation>
    </message>
</context>
<context>
    <name>ShutdeonDialog</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>是否关机?</source>
        <translation>Switch the computer off?</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
</context>
<context>
    <name>SoundDialog</name>
    <message>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>提示：音量调节</source>
        <translation>Tip: adjust the volume</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
</context>
<context>
    <name>SpasmTipsDialog</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>请注意发生3次痉挛,训练将停止!</source>
        <translation>Attention: spasm 3 detected, the training will stop!</translation>
    </message>
    <message>
        <source>请注意发生%1次痉挛!</source>
        <translation>Attention: spasm %1 detected!</translation>
    </message>
</context>
<context>
    <name>StageNotice</name>
    <message>
        <source>被动</source>
        <translation>Passive</translation>
    </message>
    <message>
        <source>主动</source>
        <translation>Active</translation>
    </message>
    <message>
        <source>主被动</source>
        <translation>Passive&amp; Active</translation>
    </message>
    <message>
        <source>模式切换中</source>
        <translation>Switching mode</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>数据库建表失败：%1</source>
        <translation>Creating the database tables failed: %1</translation>
    </message>
</context>
<context>
    <name>TitleWidget</name>
    <message>
        <source>返回</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>功能选择</source>
        <translation>Function Selection</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>用户管理</source>
        <translation>User Management</translation>
    </message>
    <message>
        <source>软件设置</source>
        <translation>Software Settings</translation>
    </message>
    <message>
        <source>参数设置</source>
        <translation>Parameter Settings</translation>
    </message>
    <message>
        <source>FES参数</source>
        <translation>FES Parameters</translation>
    </message>
    <message>
        <source>踏车参数</source>
        <translation>Cycling Parameters</translation>
    </message>
</context>
<context>
    <name>TorqueDialog</name>
    <message>
        <source>扭矩等级</source>
        <translation>Torque Level</translation>
    </message>
    <message>
        <source>请输入密码以更改扭矩等级</source>
        <translation>Enter the password to change the torque level</translation>
    </message>
    <message>
        <source>请输入密码</source>
        <translation>Enter password</translation>
    </message>
    <message>
        <source>密码输入错误</source>
        <translation>Wrong password</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
</context>
<context>
    <name>TrainManager</name>
    <message>
        <source>功能选择</source>
        <translation>Function Selection</translation>
    </message>
    <message>
        <source>踏车训练</source>
        <translation>Cycling Training</translation>
    </message>
    <message>
        <source>FES踏车训练</source>
        <translation>FES Cycling Training</translation>
    </message>
    <message>
        <source>FES训练</source>
        <translation>FES Training</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
</context>
<context>
    <name>TrainRecord</name>
    <message>
        <source>被动</source>
        <translation>Passive</translation>
    </message>
    <message>
        <source>主动</source>
        <translation>Active</translation>
    </message>
    <message>
        <source>助力</source>
        <translation>Assisted</translation>
    </message>
    <message>
        <source>等速</source>
        <translation>Isokinetic</translation>
    </message>
    <message>
        <source>上肢带下肢</source>
        <translation>Upper Limb Drives Lower</translation>
    </message>
    <message>
        <source>下肢带上肢</source>
        <translation>Lower Limb Drives Upper</translation>
    </message>
    <message>
        <source>主被动</source>
        <translation>Passive&amp; Active</translation>
    </message>
    <message>
        <source>FES</source>
        <translation>FES</translation>
    </message>
    <message>
        <source>水平上肢</source>
        <translation>Horizontal Limb</translation>
    </message>
    <message>
        <source>下肢</source>
        <translation>Lower Limb</translation>
    </message>
    <message>
        <source>上下肢</source>
        <translation>Upper and Lower</translation>
    </message>
    <message>
        <source>垂直上肢</source>
        <translation>Vertical Limb</translation>
    </message>
    <message>
        <source>训练记录</source>
        <translation>Training records</translation>
    </message>
    <message>
        <source>选择</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>训练日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>训练时长(min)</source>
        <translation>Time (min)</translation>
    </message>
    <message>
        <source>训练模式</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>训练部位</source>
        <translation>Body part</translation>
    </message>
    <message>
        <source>查看</source>
        <translation>View</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>上一页</source>
        <translation>Previous</translation>
    </message>
    <message>
        <source>下一页</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>跳转到</source>
        <translation>Go to</translation>
    </message>
    <message>
        <source>页</source>
        <translation>page</translation>
    </message>
</context>
<context>
    <name>TrainReport</name>
    <message>
        <source>训练报告</source>
        <translation>Training Report</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>上下肢主被动康复训练仪报告</source>
        <translation>Rehabilitation Training Report</translation>
    </message>
    <message>
        <source>报告日期:</source>
        <translation>Report date:</translation>
    </message>
    <message>
        <source>训练部位</source>
        <translation>Body part</translation>
    </message>
    <message>
        <source>姓名：</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>性别：</source>
        <translation>Sex:</translation>
    </message>
    <message>
        <source>年龄：</source>
        <translation>Age:</translation>
    </message>
    <message>
        <source>电话：</source>
        <translation>Phone:</translation>
    </message>
    <message>
        <source>训练模式</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>训练部位：</source>
        <translation>Body part:</translation>
    </message>
    <message>
        <source>备注：</source>
        <translation>Remarks:</translation>
    </message>
    <message>
        <source>训练时间(min:s)</source>
        <translation>Training time (min:s)</translation>
    </message>
    <message>
        <source>训练距离(m)</source>
        <translation>Distance (m)</translation>
    </message>
    <message>
        <source>痉挛次数</source>
        <translation>Spasms</translation>
    </message>
    <message>
        <source>平均速度(r/min)</source>
        <translation>Average speed (rpm)</translation>
    </message>
    <message>
        <source>最大速度(r/min)</source>
        <translation>Maximum speed (rpm)</translation>
    </message>
    <message>
        <source>最大阻力(档)</source>
        <translation>Maximum resistance (level)</translation>
    </message>
    <message>
        <source>平均阻力(档)</source>
        <translation>Average resistance (level)</translation>
    </message>
    <message>
        <source>平衡度</source>
        <translation>Balance</translation>
    </message>
    <message>
        <source>左平衡</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>右平衡</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>主被动时间占比</source>
        <translation>Active/passive time</translation>
    </message>
    <message>
        <source>主动时间</source>
        <translation>Active time</translation>
    </message>
    <message>
        <source>被动时间</source>
        <translation>Passive time</translation>
    </message>
    <message>
        <source>主被动距离占比</source>
        <translation>Active/passive distance</translation>
    </message>
    <message>
        <source>主动距离</source>
        <translation>Active distance</translation>
    </message>
    <message>
        <source>被动距离</source>
        <translation>Passive distance</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>不保存</source>
        <translation>Don't Save</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
</context>
<context>
    <name>TrainReportThreeTwo</name>
    <message>
        <source>训练报告</source>
        <translation>Training Report</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>上下肢主被动康复训练仪报告</source>
        <translation>Rehabilitation Training Report</translation>
    </message>
    <message>
        <source>报告日期:</source>
        <translation>Report date:</translation>
    </message>
    <message>
        <source>训练部位</source>
        <translation>Body part</translation>
    </message>
    <message>
        <source>姓名：</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>性别：</source>
        <translation>Sex:</translation>
    </message>
    <message>
        <source>年龄：</source>
        <translation>Age:</translation>
    </message>
    <message>
        <source>电话：</source>
        <translation>Phone:</translation>
    </message>
    <message>
        <source>训练模式</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>训练部位：</source>
        <translation>Body part:</translation>
    </message>
    <message>
        <source>备注：</source>
        <translation>Remarks:</translation>
    </message>
    <message>
        <source>训练时间(min:s)</source>
        <translation>Training time (min:s)</translation>
    </message>
    <message>
        <source>训练距离(m)</source>
        <translation>Distance (m)</translation>
    </message>
    <message>
        <source>痉挛次数</source>
        <translation>Spasms</translation>
    </message>
    <message>
        <source>平均速度(r/min)</source>
        <translation>Average speed (rpm)</translation>
    </message>
    <message>
        <source>最大速度(r/min)</source>
        <translation>Maximum speed (rpm)</translation>
    </message>
    <message>
        <source>最大阻力(档)</source>
        <translation>Maximum resistance (level)</translation>
    </message>
    <message>
        <source>平均阻力(档)</source>
        <translation>Average resistance (level)</translation>
    </message>
    <message>
        <source>主被动时间占比</source>
        <translation>Active/passive time</translation>
    </message>
    <message>
        <source>主动时间</source>
        <translation>Active time</translation>
    </message>
    <message>
        <source>被动时间</source>
        <translation>Passive time</translation>
    </message>
    <message>
        <source>主被动距离占比</source>
        <translation>Active/passive distance</translation>
    </message>
    <message>
        <source>主动距离</source>
        <translation>Active distance</translation>
    </message>
    <message>
        <source>被动距离</source>
        <translation>Passive distance</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>不保存</source>
        <translation>Don't Save</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
</context>
<context>
    <name>TrainReportTwoThree</name>
    <message>
        <source>训练报告</source>
        <translation>Training Report</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>上下肢主被动康复训练仪报告</source>
        <translation>Rehabilitation Training Report</translation>
    </message>
    <message>
        <source>报告日期:</source>
        <translation>Report date:</translation>
    </message>
    <message>
        <source>训练部位</source>
        <translation>Body part</translation>
    </message>
    <message>
        <source>姓名：</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>性别：</source>
        <translation>Sex:</translation>
    </message>
    <message>
        <source>年龄：</source>
        <translation>Age:</translation>
    </message>
    <message>
        <source>电话：</source>
        <translation>Phone:</translation>
    </message>
    <message>
        <source>训练模式</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>训练部位：</source>
        <translation>Body part:</translation>
    </message>
    <message>
        <source>备注：</source>
        <translation>Remarks:</translation>
    </message>
    <message>
        <source>训练时间(min:s)</source>
        <translation>Training time (min:s)</translation>
    </message>
    <message>
        <source>训练距离(m)</source>
        <translation>Distance (m)</translation>
    </message>
    <message>
        <source>痉挛次数</source>
        <translation>Spasms</translation>
    </message>
    <message>
        <source>平均速度(r/min)</source>
        <translation>Average speed (rpm)</translation>
    </message>
    <message>
        <source>最大速度(r/min)</source>
        <translation>Maximum speed (rpm)</translation>
    </message>
    <message>
        <source>平衡度</source>
        <translation>Balance</translation>
    </message>
    <message>
        <source>左平衡</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>右平衡</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>主被动时间占比</source>
        <translation>Active/passive time</translation>
    </message>
    <message>
        <source>主动时间</source>
        <translation>Active time</translation>
    </message>
    <message>
        <source>被动时间</source>
        <translation>Passive time</translation>
    </message>
    <message>
        <source>主被动距离占比</source>
        <translation>Active/passive distance</translation>
    </message>
    <message>
        <source>主动距离</source>
        <translation>Active distance</translation>
    </message>
    <message>
        <source>被动距离</source>
        <translation>Passive distance</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>不保存</source>
        <translation>Don't Save</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
</context>
<context>
    <name>TrainReportTwoTwo</name>
    <message>
        <source>训练报告</source>
        <translation>Training Report</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>上下肢主被动康复训练仪报告</source>
        <translation>Rehabilitation Training Report</translation>
    </message>
    <message>
        <source>报告日期:</source>
        <translation>Report date:</translation>
    </message>
    <message>
        <source>训练部位</source>
        <translation>Body part</translation>
    </message>
    <message>
        <source>姓名：</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>性别：</source>
        <translation>Sex:</translation>
    </message>
    <message>
        <source>年龄：</source>
        <translation>Age:</translation>
    </message>
    <message>
        <source>电话：</source>
        <translation>Phone:</translation>
    </message>
    <message>
        <source>训练模式</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>训练部位：</source>
        <translation>Body part:</translation>
    </message>
    <message>
        <source>备注：</source>
        <translation>Remarks:</translation>
    </message>
    <message>
        <source>训练时间(min:s)</source>
        <translation>Training time (min:s)</translation>
    </message>
    <message>
        <source>训练距离(m)</source>
        <translation>Distance (m)</translation>
    </message>
    <message>
        <source>痉挛次数</source>
        <translation>Spasms</translation>
    </message>
    <message>
        <source>平均速度(r/min)</source>
        <translation>Average speed (rpm)</translation>
    </message>
    <message>
        <source>最大速度(r/min)</source>
        <translation>Maximum speed (rpm)</translation>
    </message>
    <message>
        <source>主被动时间占比</source>
        <translation>Active/passive time</translation>
    </message>
    <message>
        <source>主动时间</source>
        <translation>Active time</translation>
    </message>
    <message>
        <source>被动时间</source>
        <translation>Passive time</translation>
    </message>
    <message>
        <source>主被动距离占比</source>
        <translation>Active/passive distance</translation>
    </message>
    <message>
        <source>主动距离</source>
        <translation>Active distance</translation>
    </message>
    <message>
        <source>被动距离</source>
        <translation>Passive distance</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>不保存</source>
        <translation>Don't Save</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>%1岁</source>
        <translation>%1 years</translation>
    </message>
</context>
<context>
    <name>TrainingParamSetting</name>
    <message>
        <source>参数设置</source>
        <translation>Parameter Settings</translation>
    </message>
    <message>
        <source>训练参数</source>
        <translation>Training Parameters</translation>
    </message>
    <message>
        <source>训练时间</source>
        <translation>Training time</translation>
    </message>
    <message>
        <source>训练阻力</source>
        <translation>Resistance</translation>
    </message>
    <message>
        <source>档</source>
        <translation>level</translation>
    </message>
    <message>
        <source>训练速度</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>转向</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>正向</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>逆向</source>
        <translation>Backward</translation>
    </message>
    <message>
        <source>痉挛保护</source>
        <translation>Spasm protection</translation>
    </message>
    <message>
        <source>痉挛等级</source>
        <translation>Spasm level</translation>
    </message>
    <message>
        <source>低</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>中</source>
        <translation>Middle</translation>
    </message>
    <message>
        <source>高</source>
        <translation>High</translation>
    </message>
    <message>
        <source>高度调节</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>设定速度已超30r/min，确认使用该速度训练吗？</source>
        <translation>The set speed is above 30 r/min. Train at this speed?</translation>
    </message>
</context>
<context>
    <name>UserDialog</name>
    <message>
        <source>新建用户</source>
        <translation>New patient</translation>
    </message>
    <message>
        <source>ID：</source>
        <translation>ID:</translation>
    </message>
    <message>
        <source>姓名：</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>性别：</source>
        <translation>Sex:</translation>
    </message>
    <message>
        <source>男</source>
        <translation>Male</translation>
    </message>
    <message>
        <source>女</source>
        <translation>Female</translation>
    </message>
    <message>
        <source>生日：</source>
        <translation>Birthday:</translation>
    </message>
    <message>
        <source>电话：</source>
        <translation>Phone:</translation>
    </message>
    <message>
        <source>部位：</source>
        <translation>Body part:</translation>
    </message>
    <message>
        <source>上肢</source>
        <translation>Upper Limb</translation>
    </message>
    <message>
        <source>下肢</source>
        <translation>Lower Limb</translation>
    </message>
    <message>
        <source>上下肢</source>
        <translation>Upper and Lower</translation>
    </message>
    <message>
        <source>备注：</source>
        <translation>Remarks:</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>用户名不能为空</source>
        <translation>The name must not be empty.</translation>
    </message>
    <message>
        <source>添加成功</source>
        <translation>Patient added.</translation>
    </message>
    <message>
        <source>更新成功</source>
        <translation>Patient updated.</translation>
    </message>
    <message>
        <source>编辑用户</source>
        <translation>Edit patient</translation>
    </message>
</context>
<context>
    <name>UserManager</name>
    <message>
        <source>用户列表</source>
        <translation>Patients</translation>
    </message>
    <message>
        <source>姓名或者ID</source>
        <translation>Name or ID</translation>
    </message>
    <message>
        <source>搜索</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>姓名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>性别</source>
        <translation>Sex</translation>
    </message>
    <message>
        <source>新建</source>
        <translation>New</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>选择</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>未查到该用户信息</source>
        <translation>Patient not found.</translation>
    </message>
</context>
<context>
    <name>VerticalToHorizonDialog</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>请将上肢训练部分由垂直</source>
        <translation>Please rotate the upper limb training part</translation>
    </message>
    <message>
        <source>旋转至水平进行训练</source>
        <translation>from vertical to horizontal for training</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
</context>
</TS>

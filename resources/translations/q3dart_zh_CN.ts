<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name></name>
    <message id=":">
        <source>: </source>
        <extracomment>Colon placed after a caption (CurrentVersion, LatestVersion, UpgradeInfo, SelectedFirmware) so each language uses its own colon. English keeps a trailing space before the value.</extracomment>
        <translation>：</translation>
    </message>
    <message id="AnalogueValues">
        <source>Values</source>
        <extracomment>Key test screen: caption of the analogue panel (stick positions, trigger levels, every button).</extracomment>
        <translation>数值</translation>
    </message>
    <message id="ArchiveNameNoVersion">
        <source>The file name "%1" holds no version number (such as 1.2-1.3-1.4.zip), so the package was not imported. Give the file its release's version as its name and open it again.</source>
        <extracomment>Toast (3 s) when a .zip archive opened into the application has no version number in its file name (the release folder is named after it); %1 = the file name. The user's file is left as it is.</extracomment>
        <translation>文件名“%1”中没有版本号（例如 1.2-1.3-1.4.zip），因此未导入该固件包。请将文件名改为其版本号后重新打开。</translation>
    </message>
    <message id="ArchiveUnsafePaths">
        <source>This firmware package contains unsafe entries (paths outside its folder, or links) and was not imported.</source>
        <extracomment>Toast (3 s) when a firmware package opened into the application holds entries whose paths lead out of its release folder, or links; the package is refused and nothing is written.</extracomment>
        <translation>该固件包含有不安全的条目（指向其文件夹之外的路径或链接），未予导入。</translation>
    </message>
    <message id="ArrowKeys">
        <source>Arrow Keys</source>
        <extracomment>Key test screen: caption of the direction pad section.</extracomment>
        <translation>方向键</translation>
    </message>
    <message id="BatteryEmpty">
        <source>empty</source>
        <extracomment>Key test screen: battery level, 5 % or less.</extracomment>
        <translation>耗尽</translation>
    </message>
    <message id="BatteryFull">
        <source>full</source>
        <extracomment>Key test screen: battery level, above 70 %.</extracomment>
        <translation>满</translation>
    </message>
    <message id="BatteryLevel">
        <source>battery %1</source>
        <extracomment>Key test screen: identity line. %1 = one of the Battery* texts.</extracomment>
        <translation>电量 %1</translation>
    </message>
    <message id="BatteryLow">
        <source>low</source>
        <extracomment>Key test screen: battery level, 20 % or less.</extracomment>
        <translation>低</translation>
    </message>
    <message id="BatteryMedium">
        <source>medium</source>
        <extracomment>Key test screen: battery level, 70 % or less.</extracomment>
        <translation>中</translation>
    </message>
    <message id="BatteryUnknown">
        <source>unknown</source>
        <extracomment>Key test screen: battery level that the controller does not report.</extracomment>
        <translation>未知</translation>
    </message>
    <message id="BatteryWired">
        <source>wired</source>
        <extracomment>Key test screen: the controller is powered by its cable.</extracomment>
        <translation>有线供电</translation>
    </message>
    <message id="ButtonMisc">
        <source>Misc</source>
        <extracomment>Game controllers: the extra button some controllers have (share, capture or microphone button).</extracomment>
        <translation>功能键</translation>
    </message>
    <message id="ButtonPaddle">
        <source>Paddle %1</source>
        <extracomment>Game controllers: a paddle on the back of the controller. %1 = its number, 1 to 4.</extracomment>
        <translation>背键 %1</translation>
    </message>
    <message id="ButtonTouchpad">
        <source>Touchpad</source>
        <extracomment>Game controllers: the click of the controller's touchpad.</extracomment>
        <translation>触摸板</translation>
    </message>
    <message id="CaFileInvalid">
        <source>No certificate could be read from "%1".</source>
        <extracomment>Command line: the file given with --ca-file holds no PEM certificate; %1 = the file.</extracomment>
        <translation>无法从“%1”读取证书。</translation>
    </message>
    <message id="Cancel">
        <source>Cancel</source>
        <extracomment>Button of the 'open the App Store' alert on the game list page; closes the alert.</extracomment>
        <translation>取消</translation>
    </message>
    <message id="CannotUnzipPrompt">
        <source>This file is not a firmware package (.zip) and cannot be unzipped.</source>
        <extracomment>Toast (3 s) when a file opened into the application is not a .zip archive (by its extension); the user's file is left as it is.</extracomment>
        <translation>该文件不是固件包（.zip），无法解压。</translation>
    </message>
    <message id="CheckAgain">
        <source>Check again</source>
        <extracomment>Stick check: run the check once more.</extracomment>
        <translation>重新检测</translation>
    </message>
    <message id="CheckButtonLine" numerus="yes">
        <source>%1: %n press(es), %2 chatter (%3)</source>
        <extracomment>Controller check report: one button. %n = presses (plural forms); %1 = button; %2 = chatter count; %3 = verdict.</extracomment>
        <translation>
            <numerusform>%1：按下 %n 次，抖动 %2 次（%3）</numerusform>
        </translation>
    </message>
    <message id="CheckCentreLine">
        <source>%1: drift %2, noise %3, recommended dead zone %4 (%5)</source>
        <extracomment>Controller check report: a stick at rest. %1 = stick; %2 = drift; %3 = noise; %4 = recommended dead zone (stick units 0..1); %5 = verdict on the drift.</extracomment>
        <translation>%1：漂移 %2，噪声 %3，建议死区 %4（%5）</translation>
    </message>
    <message id="CheckCircularity">
        <source>Circularity</source>
        <extracomment>Stick check: figure label; the circularity error.</extracomment>
        <translation>圆度</translation>
    </message>
    <message id="CheckClockDevice">
        <source>timed by the device</source>
        <extracomment>Controller check report: the report rate was timed by the device's own event times.</extracomment>
        <translation>按设备时间计时</translation>
    </message>
    <message id="CheckClockPoll">
        <source>timed by our poll of the device, which caps the rate</source>
        <extracomment>Controller check report: the report rate was timed when our poll read the device, so it cannot exceed the poll's rate.</extracomment>
        <translation>按程序轮询计时，速率受轮询限制</translation>
    </message>
    <message id="CheckClose">
        <source>Done</source>
        <extracomment>Stick check: back to the key test.</extracomment>
        <translation>完成</translation>
    </message>
    <message id="CheckComplete">
        <source>Check complete</source>
        <extracomment>Controller check: all steps are done.</extracomment>
        <translation>检测完成</translation>
    </message>
    <message id="CheckControllerLine">
        <source>Controller: %1</source>
        <extracomment>Controller check report: the controller's identity. %1 = name, type, vendor:product, GUID.</extracomment>
        <translation>控制器：%1</translation>
    </message>
    <message id="CheckCoverage">
        <source>Coverage</source>
        <extracomment>Stick check: figure label; share of directions reached.</extracomment>
        <translation>覆盖率</translation>
    </message>
    <message id="CheckDeadZone">
        <source>Dead zone</source>
        <extracomment>Stick check: figure label; the recommended dead zone.</extracomment>
        <translation>死区</translation>
    </message>
    <message id="CheckDrift">
        <source>Drift</source>
        <extracomment>Stick check: figure label.</extracomment>
        <translation>漂移</translation>
    </message>
    <message id="CheckFirmwareLine">
        <source>Firmware: %1</source>
        <extracomment>Controller check report: the controller's firmware versions. %1 = boot-left-right.</extracomment>
        <translation>固件：%1</translation>
    </message>
    <message id="CheckLeftStick">
        <source>Left stick</source>
        <extracomment>Controller check: the left stick.</extracomment>
        <translation>左摇杆</translation>
    </message>
    <message id="CheckLeftTrigger">
        <source>Left trigger</source>
        <extracomment>Controller check: the left trigger (L2).</extracomment>
        <translation>左扳机</translation>
    </message>
    <message id="CheckNeedsSticks">
        <source>%1 has no sticks to check.</source>
        <extracomment>Controller check: the controller offers no sticks. %1 = controller name.</extracomment>
        <translation>%1 没有可检测的摇杆。</translation>
    </message>
    <message id="CheckNoPrevious">
        <source>No earlier check of this controller</source>
        <extracomment>Stick check: there is no earlier report of this controller.</extracomment>
        <translation>此控制器没有更早的检测</translation>
    </message>
    <message id="CheckNoise">
        <source>Noise</source>
        <extracomment>Stick check: figure label.</extracomment>
        <translation>噪声</translation>
    </message>
    <message id="CheckNone">
        <source>none</source>
        <extracomment>Stick check: no short direction.</extracomment>
        <translation>无</translation>
    </message>
    <message id="CheckPrevious">
        <source>Previous check, %1</source>
        <extracomment>Stick check: the figures of the earlier check of the same controller. %1 = its date and time.</extracomment>
        <translation>上次检测，%1</translation>
    </message>
    <message id="CheckPromptRest">
        <source>Leave both sticks at rest: %1 s</source>
        <extracomment>Controller check step: both sticks at rest. %1 = seconds left.</extracomment>
        <translation>请勿触碰两个摇杆：%1 秒</translation>
    </message>
    <message id="CheckPromptRotateLeft">
        <source>Rotate the left stick along its edge a few times, then let it go</source>
        <extracomment>Controller check step.</extracomment>
        <translation>沿边缘转动左摇杆几圈，然后松开</translation>
    </message>
    <message id="CheckPromptRotateRight">
        <source>Rotate the right stick along its edge a few times, then let it go</source>
        <extracomment>Controller check step.</extracomment>
        <translation>沿边缘转动右摇杆几圈，然后松开</translation>
    </message>
    <message id="CheckPromptTriggers">
        <source>Press both triggers all the way, then let them go</source>
        <extracomment>Controller check step.</extracomment>
        <translation>将两个扳机按到底，然后松开</translation>
    </message>
    <message id="CheckRangeLine">
        <source>%1: circularity error %2 % (quadrants %3), coverage %4 % (%5)</source>
        <extracomment>Controller check report: a stick's range. %1 = stick; %2 = circularity error in percent; %3 = the four quadrants' errors; %4 = coverage in percent; %5 = verdict.</extracomment>
        <translation>%1：圆度误差 %2 %（各象限 %3），覆盖率 %4 %（%5）</translation>
    </message>
    <message id="CheckRangeNotCovered">
        <source>%1: range not measured (%2 % of the directions reached)</source>
        <extracomment>Controller check report: a stick was not rotated far enough for a result. %1 = stick; %2 = percent of the directions reached.</extracomment>
        <translation>%1：未测量范围（仅到达 %2 % 的方向）</translation>
    </message>
    <message id="CheckRate">
        <source>Rate</source>
        <extracomment>Stick check: figure label; updates per second.</extracomment>
        <translation>速率</translation>
    </message>
    <message id="CheckRateLine">
        <source>%1: %2 updates per second, jitter %3 ms (%4)</source>
        <extracomment>Controller check report: how often a stick reports. %1 = stick; %2 = updates per second; %3 = jitter in milliseconds; %4 = whose clock timed it.</extracomment>
        <translation>%1：每秒 %2 次更新，抖动 %3 毫秒（%4）</translation>
    </message>
    <message id="CheckReportNotSaved">
        <source>The check's report could not be saved in %1.</source>
        <extracomment>Controller check: the report file could not be written. %1 = folder or file.</extracomment>
        <translation>无法将检测报告保存到 %1。</translation>
    </message>
    <message id="CheckReportSaved">
        <source>Report saved: %1</source>
        <extracomment>Command-line controller check: where the report was saved. %1 = file.</extracomment>
        <translation>报告已保存：%1</translation>
    </message>
    <message id="CheckRightStick">
        <source>Right stick</source>
        <extracomment>Controller check: the right stick.</extracomment>
        <translation>右摇杆</translation>
    </message>
    <message id="CheckRightTrigger">
        <source>Right trigger</source>
        <extracomment>Controller check: the right trigger (R2).</extracomment>
        <translation>右扳机</translation>
    </message>
    <message id="CheckShort">
        <source>Short</source>
        <extracomment>Stick check: figure label; directions where the range falls short.</extracomment>
        <translation>不足</translation>
    </message>
    <message id="CheckShortLine">
        <source>%1: the range falls short towards %2</source>
        <extracomment>Controller check report: the directions where a stick's range falls short. %1 = stick; %2 = directions.</extracomment>
        <translation>%1：以下方向行程不足：%2</translation>
    </message>
    <message id="CheckSticks">
        <source>Check sticks</source>
        <extracomment>Key test: the button that starts the guided stick check.</extracomment>
        <translation>检测摇杆</translation>
    </message>
    <message id="CheckTitle">
        <source>Stick check</source>
        <extracomment>Stick check: the panel's caption.</extracomment>
        <translation>摇杆检测</translation>
    </message>
    <message id="CheckTriggerLine" numerus="yes">
        <source>%1: %2 to %3, %n level(s) (%4)</source>
        <extracomment>Controller check report: a trigger's travel. %n = distinct levels seen (plural forms); %1 = trigger; %2 = lowest level; %3 = highest level; %4 = verdict.</extracomment>
        <translation>
            <numerusform>%1：%2 至 %3，%n 个级别（%4）</numerusform>
        </translation>
    </message>
    <message id="CheckWaitingForController">
        <source>Waiting for a game controller with two sticks...</source>
        <extracomment>Command-line controller check: no controller with two sticks is connected yet.</extracomment>
        <translation>正在等待带两个摇杆的游戏控制器……</translation>
    </message>
    <message id="ChecksumRejected">
        <source>The controller rejected the firmware it received (checksum mismatch). Please reconnect the controller and try again.</source>
        <extracomment>Upgrade engine / command-line: the controller refused the checksum of the right-side image twice. What was installed is said after it.</extracomment>
        <translation>手柄校验固件失败（校验和不符）。请重新连接手柄后重试。</translation>
    </message>
    <message id="ChooseRelease">
        <source>Release to install</source>
        <extracomment>Upgrade screen: caption above the buttons that choose a local or an online release.</extracomment>
        <translation>要安装的固件</translation>
    </message>
    <message id="CliBaseUrlInvalid">
        <source>--base-url needs an http: or https: address</source>
        <extracomment>Command-line usage error: bad --base-url.</extracomment>
        <translation>--base-url 需要 http: 或 https: 地址</translation>
    </message>
    <message id="CliExpiresInvalid">
        <source>--expires needs a number of days from 0 to %1</source>
        <extracomment>Command-line usage error: bad --expires. %1 = the largest number of days.</extracomment>
        <translation>--expires 需要 0 到 %1 之间的天数</translation>
    </message>
    <message id="CliFlashBoot">
        <source>the boot loader image</source>
        <extracomment>Command-line help: flash --boot.</extracomment>
        <translation>引导程序映像</translation>
    </message>
    <message id="CliFlashHelp">
        <source>send firmware images (boot loader, left, right, in that order) across the controller's restarts; prints the versions read afterwards</source>
        <extracomment>Command-line help: the flash command.</extracomment>
        <translation>发送固件映像（按引导程序、左侧、右侧的顺序），跨越控制器的重启；最后输出读到的版本</translation>
    </message>
    <message id="CliFlashLeft">
        <source>the left side's image</source>
        <extracomment>Command-line help: flash --left.</extracomment>
        <translation>左侧映像</translation>
    </message>
    <message id="CliFlashNeedsImage">
        <source>flash needs at least one image</source>
        <extracomment>Command-line usage error: flash was given no image.</extracomment>
        <translation>flash 至少需要一个映像</translation>
    </message>
    <message id="CliFlashRight">
        <source>the right side's image</source>
        <extracomment>Command-line help: flash --right.</extracomment>
        <translation>右侧映像</translation>
    </message>
    <message id="CliGamepadsHelp">
        <source>list the connected game controllers, tab-separated: name, player index, extended|basic|unmapped, type, vendor:product, GUID (- where unknown)</source>
        <extracomment>Command-line help: the gamepads command. Keep extended|basic|unmapped literally.</extracomment>
        <translation>列出已连接的游戏控制器，以制表符分隔：名称、玩家编号、extended|basic|unmapped、类型、vendor:product、GUID（未知时为 -）</translation>
    </message>
    <message id="CliHelpCommandFooter">
        <source>The options before the command (see "%1 --help") apply as well; --trust-key, --trust-root and --ca-file are also accepted after it.</source>
        <extracomment>Command-line help of one command: the closing note. %1 = the program's name.</extracomment>
        <translation>命令之前的选项（见“%1 --help”）同样适用；--trust-key、--trust-root 和 --ca-file 也可以写在命令之后。</translation>
    </message>
    <message id="CliHelpCommands">
        <source>Commands:</source>
        <extracomment>Command-line help: heading of the command list.</extracomment>
        <translation>命令：</translation>
    </message>
    <message id="CliHelpFooter">
        <source>With --simulate, gamepads, keytest and rumble use a virtual controller instead of the real ones. Game-controller mappings (SDL's format) are read from SDL_GAMECONTROLLERCONFIG, SDL_GAMECONTROLLERCONFIG_FILE and gamecontrollerdb.txt in the configuration folder (~/.config/q3dart). "%1 COMMAND --help" shows a command's options. Exit codes: 0 success, 1 failure, 2 usage error, 3 no controller attached.</source>
        <extracomment>Command-line help: the closing notes. %1 = the program's name. Keep option and variable names literally.</extracomment>
        <translation>使用 --simulate 时，gamepads、keytest 和 rumble 使用虚拟控制器而不是真实控制器。游戏控制器映射（SDL 格式）读取自 SDL_GAMECONTROLLERCONFIG、SDL_GAMECONTROLLERCONFIG_FILE 以及配置文件夹（~/.config/q3dart）中的 gamecontrollerdb.txt。“%1 命令 --help”显示某个命令的选项。退出码：0 成功，1 失败，2 用法错误，3 未连接控制器。</translation>
    </message>
    <message id="CliHelpHint">
        <source>Run "%1" for help.</source>
        <extracomment>Command-line usage error: where the help is. %1 = the help command to run.</extracomment>
        <translation>运行“%1”查看帮助。</translation>
    </message>
    <message id="CliHelpOptions">
        <source>Options:</source>
        <extracomment>Command-line help: heading of the option list.</extracomment>
        <translation>选项：</translation>
    </message>
    <message id="CliHelpUsage">
        <source>Usage: %1</source>
        <extracomment>Command-line help: the usage line. %1 = the program and its words.</extracomment>
        <translation>用法：%1</translation>
    </message>
    <message id="CliHistoryHelp">
        <source>the upgrade runs recorded in the documents directory, newest first: start, outcome, release, versions before, after, reason, controller</source>
        <extracomment>Command-line help: the history command.</extracomment>
        <translation>文档目录中记录的升级运行，最新的在前：开始时间、结果、版本、之前的版本、之后的版本、原因、控制器</translation>
    </message>
    <message id="CliHistoryJson">
        <source>a JSON array of the runs</source>
        <extracomment>Command-line help: history --json.</extracomment>
        <translation>以 JSON 数组输出各次运行</translation>
    </message>
    <message id="CliImportHelp">
        <source>import release archives (VERSION.zip) as local releases</source>
        <extracomment>Command-line help: the import command, which takes one archive or several.</extracomment>
        <translation>将版本压缩包（VERSION.zip）导入为本地版本（可一次导入多个）</translation>
    </message>
    <message id="CliKeygenHelp">
        <source>write a new Ed25519 key to FILE (PEM, owner only) and print its key id, then its public key (base64) as the last line</source>
        <extracomment>Command-line help: the keygen command.</extracomment>
        <translation>将新的 Ed25519 密钥写入 FILE（PEM，仅所有者可读），并输出其密钥 ID，最后一行为其公钥（base64）</translation>
    </message>
    <message id="CliKeytestCheck">
        <source>the guided stick check: rest (3 s), rotate each stick along its edge, press both triggers</source>
        <extracomment>Command-line help: keytest --check.</extracomment>
        <translation>引导式摇杆检查：静止（3 秒），沿边缘转动每个摇杆，按下两个扳机</translation>
    </message>
    <message id="CliKeytestCheckOnly">
        <source>--json, --stick and --seconds go with keytest --check</source>
        <extracomment>Command-line usage error: check options given without --check.</extracomment>
        <translation>--json、--stick 和 --seconds 需与 keytest --check 一起使用</translation>
    </message>
    <message id="CliKeytestHelp">
        <source>print every key and stick event until interrupted (Ctrl+C): `key A pressed`, `key A released`, `stick left DX DY`; with --simulate, reads `press|release NAME`, `set NAME VALUE`, `stick left|right X Y`, `trigger left|right V`, `gyro X Y Z`, `accel X Y Z`, `touch PAD FINGER X Y [P]`, `lift PAD FINGER`, `touchpad PAD press|release`, `plug`, `unplug` and `wait MS` from standard input. --check runs the guided stick check and prints its report, saved in the documents directory</source>
        <extracomment>Command-line help: the keytest command. Keep the printed and script lines literally.</extracomment>
        <translation>输出每个按键和摇杆事件，直到被中断（Ctrl+C）：`key A pressed`、`key A released`、`stick left DX DY`；使用 --simulate 时，从标准输入读取 `press|release NAME`、`set NAME VALUE`、`stick left|right X Y`、`trigger left|right V`、`gyro X Y Z`、`accel X Y Z`、`touch PAD FINGER X Y [P]`、`lift PAD FINGER`、`touchpad PAD press|release`、`plug`、`unplug` 和 `wait MS`。--check 执行引导式摇杆检查并输出报告，报告保存在文档目录中</translation>
    </message>
    <message id="CliKeytestJson">
        <source>print the report as one JSON object</source>
        <extracomment>Command-line help: keytest --check --json.</extracomment>
        <translation>以一个 JSON 对象输出报告</translation>
    </message>
    <message id="CliKeytestSeconds">
        <source>the most a rotation or the trigger step may take (default 10)</source>
        <extracomment>Command-line help: keytest --check --seconds.</extracomment>
        <translation>每次转动或扳机步骤的最长时间（默认 10）</translation>
    </message>
    <message id="CliKeytestStick">
        <source>the sticks to rotate (default both)</source>
        <extracomment>Command-line help: keytest --check --stick.</extracomment>
        <translation>要转动的摇杆（默认两个）</translation>
    </message>
    <message id="CliKeytestStickInvalid">
        <source>--stick takes left, right or both</source>
        <extracomment>Command-line usage error: bad --stick. Keep left, right, both literally.</extracomment>
        <translation>--stick 只接受 left、right 或 both</translation>
    </message>
    <message id="CliKeytestValues">
        <source>also print `axis left X Y` after each stick report and `trigger left V` when a trigger's level changes</source>
        <extracomment>Command-line help: keytest --values. Keep the printed lines literally.</extracomment>
        <translation>另外在每次摇杆报告后输出 `axis left X Y`，扳机值变化时输出 `trigger left V`</translation>
    </message>
    <message id="CliListVersionInvalid">
        <source>--list-version needs a whole number from 0</source>
        <extracomment>Command-line usage error: bad --list-version.</extracomment>
        <translation>--list-version 需要不小于 0 的整数</translation>
    </message>
    <message id="CliListenInvalid">
        <source>--listen needs HOST:PORT with a numeric host address</source>
        <extracomment>Command-line usage error: bad --listen value.</extracomment>
        <translation>--listen 需要 HOST:PORT，主机为数字地址</translation>
    </message>
    <message id="CliNeedsArguments">
        <source>expected %1</source>
        <extracomment>Command-line usage error: the command's arguments are missing or too many. %1 = the arguments it takes.</extracomment>
        <translation>需要 %1</translation>
    </message>
    <message id="CliNoCommand">
        <source>no command given</source>
        <extracomment>Command-line usage error: no command was given.</extracomment>
        <translation>未指定命令</translation>
    </message>
    <message id="CliOptionCaFile">
        <source>also trust the PEM certificate authorities of FILE for https</source>
        <extracomment>Command-line help: --ca-file.</extracomment>
        <translation>https 连接还信任 FILE 中的 PEM 证书颁发机构</translation>
    </message>
    <message id="CliOptionDevice">
        <source>sim | tcp:HOST:PORT | serial:PATH (default: the first USB serial controller)</source>
        <extracomment>Command-line help: --device. Keep sim, tcp:HOST:PORT and serial:PATH literally.</extracomment>
        <translation>sim | tcp:HOST:PORT | serial:PATH（默认：第一个 USB 串口控制器）</translation>
    </message>
    <message id="CliOptionDocuments">
        <source>documents directory (default: the user's data folder)</source>
        <extracomment>Command-line help: --documents.</extracomment>
        <translation>文档目录（默认：用户数据文件夹）</translation>
    </message>
    <message id="CliOptionHelp">
        <source>show this help</source>
        <extracomment>Command-line help: --help.</extracomment>
        <translation>显示此帮助</translation>
    </message>
    <message id="CliOptionLang">
        <source>language of messages: en, zh, ja (default: the system's)</source>
        <extracomment>Command-line help: --lang. Keep en, zh, ja literally.</extracomment>
        <translation>消息语言：en、zh、ja（默认：系统语言）</translation>
    </message>
    <message id="CliOptionMaxDownload">
        <source>refuse a release archive download larger than this (default 64)</source>
        <extracomment>Command-line help: --max-download-mib.</extracomment>
        <translation>拒绝下载大于此值的版本压缩包（默认 64）</translation>
    </message>
    <message id="CliOptionNeedsMiB">
        <source>%1 needs a size in MiB above 0</source>
        <extracomment>Command-line usage error: bad --max-download-mib. %1 = the option.</extracomment>
        <translation>%1 需要大于 0 的 MiB 数</translation>
    </message>
    <message id="CliOptionNeedsSeconds">
        <source>%1 needs a number of seconds</source>
        <extracomment>Command-line usage error: bad --wait. %1 = the option.</extracomment>
        <translation>%1 需要秒数</translation>
    </message>
    <message id="CliOptionNeedsSecondsAboveZero">
        <source>%1 needs a number of seconds above 0</source>
        <extracomment>Command-line usage error: bad --restart-wait or --silence-limit. %1 = the option.</extracomment>
        <translation>%1 需要大于 0 的秒数</translation>
    </message>
    <message id="CliOptionNeedsValue">
        <source>%1 needs a value</source>
        <extracomment>Command-line usage error: an option given without its value. %1 = the option.</extracomment>
        <translation>%1 需要一个值</translation>
    </message>
    <message id="CliOptionRequired">
        <source>%1 is required</source>
        <extracomment>Command-line usage error: a required option is missing. %1 = the option.</extracomment>
        <translation>必须指定 %1</translation>
    </message>
    <message id="CliOptionRestartWait">
        <source>how long a controller may take to come back after a restart (default 60)</source>
        <extracomment>Command-line help: --restart-wait.</extracomment>
        <translation>控制器重启后重新出现的最长时间（默认 60）</translation>
    </message>
    <message id="CliOptionServer">
        <source>firmware server address (http: or https:)</source>
        <extracomment>Command-line help: --server.</extracomment>
        <translation>固件服务器地址（http: 或 https:）</translation>
    </message>
    <message id="CliOptionSilenceLimit">
        <source>how long a controller may stay silent during a transfer (default 10)</source>
        <extracomment>Command-line help: --silence-limit.</extracomment>
        <translation>传输期间控制器可以无响应的最长时间（默认 10）</translation>
    </message>
    <message id="CliOptionSimulate">
        <source>use the simulated controller (same as --device sim)</source>
        <extracomment>Command-line help: --simulate.</extracomment>
        <translation>使用模拟控制器（同 --device sim）</translation>
    </message>
    <message id="CliOptionTakesNoValue">
        <source>%1 takes no value</source>
        <extracomment>Command-line usage error: a switch given a value. %1 = the option.</extracomment>
        <translation>%1 不接受值</translation>
    </message>
    <message id="CliOptionTrustKey">
        <source>trust this release key (base64 of a raw 32-byte Ed25519 public key); repeatable. With a trusted key an online release installs only when its signature verifies, and the release list only when signed by it</source>
        <extracomment>Command-line help: --trust-key.</extracomment>
        <translation>信任此发布密钥（32 字节 Ed25519 公钥的 base64）；可重复。有受信任的密钥时，在线版本只有签名验证通过才会安装，版本列表也必须由它签名</translation>
    </message>
    <message id="CliOptionTrustRoot">
        <source>trust this root key (as keygen prints it); repeatable. Release and list signatures then verify with the keys of the key set the root signed</source>
        <extracomment>Command-line help: --trust-root.</extracomment>
        <translation>信任此根密钥（即 keygen 输出的公钥）；可重复。此后版本和列表的签名用根密钥签署的密钥集中的密钥验证</translation>
    </message>
    <message id="CliOptionVersion">
        <source>show the program's version</source>
        <extracomment>Command-line help: --version.</extracomment>
        <translation>显示程序版本</translation>
    </message>
    <message id="CliOptionWait">
        <source>how long to wait for a controller to attach (default 5)</source>
        <extracomment>Command-line help: --wait.</extracomment>
        <translation>等待控制器连接的时间（默认 5）</translation>
    </message>
    <message id="CliOptionsExclusive">
        <source>%1 and %2 cannot be given together</source>
        <extracomment>Command-line usage error: two options that exclude each other. %1, %2 = the options.</extracomment>
        <translation>%1 和 %2 不能同时指定</translation>
    </message>
    <message id="CliPublishBaseUrl">
        <source>where OUT is served (default: the firmware server address)</source>
        <extracomment>Command-line help: publish --base-url.</extracomment>
        <translation>OUT 的发布地址（默认：固件服务器地址）</translation>
    </message>
    <message id="CliPublishHelp">
        <source>write the same list and archives as a static site into OUT for any web host: OUT/firmware/update/r1 and OUT/releases/. With --sign-key, each release and the list as a whole are signed (OUT/firmware/update/r1.sig)</source>
        <extracomment>Command-line help: the publish command.</extracomment>
        <translation>将相同的列表和压缩包作为静态站点写入 OUT，可用于任何网站主机：OUT/firmware/update/r1 和 OUT/releases/。使用 --sign-key 时，每个版本和整个列表都会签名（OUT/firmware/update/r1.sig）</translation>
    </message>
    <message id="CliPublishNeedsFolder">
        <source>publish needs a folder of release archives</source>
        <extracomment>Command-line usage error: publish was not given a folder.</extracomment>
        <translation>publish 需要一个版本压缩包文件夹</translation>
    </message>
    <message id="CliPublishSignKey">
        <source>the release key to sign with (PEM)</source>
        <extracomment>Command-line help: publish --sign-key.</extracomment>
        <translation>用于签名的发布密钥（PEM）</translation>
    </message>
    <message id="CliReleasesHelp">
        <source>list the releases, newest first: version, then notes or path; online releases then signed, unchecked (signed, no key trusted), invalid or unsigned</source>
        <extracomment>Command-line help: the releases command.</extracomment>
        <translation>列出版本，最新的在前：版本号，然后是说明或路径；在线版本随后标明 signed、unchecked（已签名但没有受信任的密钥）、invalid 或 unsigned</translation>
    </message>
    <message id="CliReleasesLocal">
        <source>only the local releases</source>
        <extracomment>Command-line help: releases --local.</extracomment>
        <translation>仅本地版本</translation>
    </message>
    <message id="CliReleasesOnline">
        <source>only the online releases</source>
        <extracomment>Command-line help: releases --online.</extracomment>
        <translation>仅在线版本</translation>
    </message>
    <message id="CliRumbleHelp">
        <source>run the motors of the first controller that has them: all at full strength, or each motor named at its own strength; --light sets its light</source>
        <extracomment>Command-line help: the rumble command.</extracomment>
        <translation>运行第一个带马达的手柄的马达：全部以最大强度运行，或按指定强度分别运行各马达；--light 设置其灯光</translation>
    </message>
    <message id="CliRumbleSeconds">
        <source>how long (default 0.5)</source>
        <extracomment>Command-line help: rumble --seconds.</extracomment>
        <translation>持续时间（默认 0.5）</translation>
    </message>
    <message id="CliRunJson">
        <source>one event a line on standard output: phase, download, progress, and last the outcome (completed, failed or cancelled)</source>
        <extracomment>Command-line help: flash/upgrade --json. Keep the event names literally.</extracomment>
        <translation>在标准输出上每行一个事件：phase、download、progress，最后是结果（completed、failed 或 cancelled）</translation>
    </message>
    <message id="CliSecondsRange">
        <source>%1 takes a number above 0 and at most %2</source>
        <extracomment>Command-line usage error: a number of seconds out of range. %1 = the option, %2 = the largest value.</extracomment>
        <translation>%1 需要大于 0 且不超过 %2 的数</translation>
    </message>
    <message id="CliServeDoesNotSign">
        <source>serve does not sign: sign the site offline with `publish DIR OUT --sign-key FILE` and serve it with `serve --site OUT`</source>
        <extracomment>Command-line usage error: serve was given a signing key. Keep the commands literally.</extracomment>
        <translation>serve 不会签名：请用 `publish DIR OUT --sign-key FILE` 离线签署站点，再用 `serve --site OUT` 提供</translation>
    </message>
    <message id="CliServeHelp">
        <source>serve a folder of release archives as the firmware server does, with their SHA-256, unsigned (for development); with --site, serve a published site as a static web host would</source>
        <extracomment>Command-line help: the serve command.</extracomment>
        <translation>像固件服务器一样提供一个版本压缩包文件夹，附带 SHA-256，不签名（供开发使用）；使用 --site 时，像静态网站主机一样提供已发布的站点</translation>
    </message>
    <message id="CliServeListen">
        <source>address to listen on (default 127.0.0.1:8080; port 0 picks a free port)</source>
        <extracomment>Command-line help: serve --listen.</extracomment>
        <translation>监听地址（默认 127.0.0.1:8080；端口 0 自动选择空闲端口）</translation>
    </message>
    <message id="CliServeNeedsFolder">
        <source>serve needs a folder of release archives</source>
        <extracomment>Command-line usage error: serve was not given a folder.</extracomment>
        <translation>serve 需要一个版本压缩包文件夹</translation>
    </message>
    <message id="CliServeNeedsSite">
        <source>serve --site needs a site written by publish (OUT/firmware/update/r1)</source>
        <extracomment>Command-line usage error: serve --site was not given a published site.</extracomment>
        <translation>serve --site 需要由 publish 写出的站点（OUT/firmware/update/r1）</translation>
    </message>
    <message id="CliServeSignKey">
        <source>refused: sign a site offline with publish</source>
        <extracomment>Command-line help: serve --sign-key, which is refused.</extracomment>
        <translation>不接受：请用 publish 离线签署站点</translation>
    </message>
    <message id="CliServeSite">
        <source>a site written by publish</source>
        <extracomment>Command-line help: serve --site.</extracomment>
        <translation>由 publish 写出的站点</translation>
    </message>
    <message id="CliSignExpires">
        <source>the list or key set expires after DAYS (default 30, fractions allowed)</source>
        <extracomment>Command-line help: --expires.</extracomment>
        <translation>列表或密钥集在 DAYS 天后过期（默认 30，可为小数）</translation>
    </message>
    <message id="CliSignKeysAdd">
        <source>add these public keys (base64); repeatable</source>
        <extracomment>Command-line help: sign-keys --add.</extracomment>
        <translation>添加这些公钥（base64）；可重复</translation>
    </message>
    <message id="CliSignKeysHelp">
        <source>write a new key set signed by the root into OUT/firmware/update/keys.json: one version higher, the current keys kept unless removed (by key id)</source>
        <extracomment>Command-line help: the sign-keys command.</extracomment>
        <translation>将由根密钥签署的新密钥集写入 OUT/firmware/update/keys.json：版本加一，除非（按密钥 ID）移除，否则保留现有密钥</translation>
    </message>
    <message id="CliSignKeysRemove">
        <source>remove the keys with these key ids; repeatable</source>
        <extracomment>Command-line help: sign-keys --remove.</extracomment>
        <translation>移除具有这些密钥 ID 的密钥；可重复</translation>
    </message>
    <message id="CliSignKeysRoot">
        <source>the root key to sign with (PEM); required</source>
        <extracomment>Command-line help: sign-keys --root-key.</extracomment>
        <translation>用于签名的根密钥（PEM）；必需</translation>
    </message>
    <message id="CliSignListHelp">
        <source>sign a published site's list again: a new expiry, a version one higher</source>
        <extracomment>Command-line help: the sign-list command.</extracomment>
        <translation>重新签署已发布站点的列表：新的过期时间，版本加一</translation>
    </message>
    <message id="CliSignListKey">
        <source>the release key to sign with (PEM); required</source>
        <extracomment>Command-line help: sign-list --sign-key.</extracomment>
        <translation>用于签名的发布密钥（PEM）；必需</translation>
    </message>
    <message id="CliSignListVersion">
        <source>the list's version (default one above the site's current list)</source>
        <extracomment>Command-line help: --list-version.</extracomment>
        <translation>列表版本（默认比站点当前列表高一）</translation>
    </message>
    <message id="CliSleepNotHeldOff">
        <source>Sleep could not be held off (%1); keep the computer awake until the upgrade ends.</source>
        <extracomment>Command line, standard error, once: the system's sleep lock (logind on the system bus) could not be taken; the upgrade goes on. %1 = the bus's reason, in English (e.g. 'Failed to connect to socket /run/dbus/system_bus_socket: No such file or directory').</extracomment>
        <translation>无法阻止系统休眠（%1）；在升级结束前请保持电脑唤醒。</translation>
    </message>
    <message id="CliUnexpectedArgument">
        <source>unexpected argument %1</source>
        <extracomment>Command-line usage error: a word the command does not take. %1 = the word.</extracomment>
        <translation>多余的参数 %1</translation>
    </message>
    <message id="CliUnknownCommand">
        <source>unknown command %1</source>
        <extracomment>Command-line usage error: a command that does not exist. %1 = the word given.</extracomment>
        <translation>未知命令 %1</translation>
    </message>
    <message id="CliUnknownOption">
        <source>unknown option %1</source>
        <extracomment>Command-line usage error: an option that does not exist. %1 = the option as given.</extracomment>
        <translation>未知选项 %1</translation>
    </message>
    <message id="CliUpgradeAllowOlder">
        <source>allow a named release older than the controller's firmware</source>
        <extracomment>Command-line help: upgrade --allow-older.</extracomment>
        <translation>允许指定比控制器固件更旧的版本</translation>
    </message>
    <message id="CliUpgradeHelp">
        <source>bring the controller to a release: local, online (downloaded and checked), or the newest online; exit 0 only when the controller then reports the release's versions. --latest sends nothing when the controller runs it or a newer one; an older named release needs --allow-older</source>
        <extracomment>Command-line help: the upgrade command. Keep option names literally.</extracomment>
        <translation>将控制器升级到某个版本：本地版本、在线版本（下载并校验）或最新的在线版本；只有控制器随后报告该版本时才以 0 退出。控制器已运行最新或更新的版本时 --latest 不发送任何内容；指定较旧的版本需要 --allow-older</translation>
    </message>
    <message id="CliUpgradeLatest">
        <source>the newest online release</source>
        <extracomment>Command-line help: upgrade --latest.</extracomment>
        <translation>最新的在线版本</translation>
    </message>
    <message id="CliUpgradeLocal">
        <source>a local release</source>
        <extracomment>Command-line help: upgrade --local.</extracomment>
        <translation>本地版本</translation>
    </message>
    <message id="CliUpgradeNeedsOneSource">
        <source>upgrade needs one of --local VERSION, --online VERSION or --latest</source>
        <extracomment>Command-line usage error: upgrade needs exactly one release source. Keep option names literally.</extracomment>
        <translation>upgrade 需要 --local VERSION、--online VERSION 或 --latest 之一</translation>
    </message>
    <message id="CliUpgradeOnline">
        <source>an online release, downloaded and checked</source>
        <extracomment>Command-line help: upgrade --online.</extracomment>
        <translation>在线版本，下载并校验</translation>
    </message>
    <message id="CliUsageError">
        <source>Usage error: %1</source>
        <extracomment>Command-line tools: a usage problem. %1 = details of the problem.</extracomment>
        <translation>用法错误：%1</translation>
    </message>
    <message id="CliVersionsHelp">
        <source>print the controller's versions (boot-left-right) and device information</source>
        <extracomment>Command-line help: the versions command.</extracomment>
        <translation>输出控制器的版本（boot-left-right）和设备信息</translation>
    </message>
    <message id="CliVersionsJson">
        <source>the same fields as one JSON object</source>
        <extracomment>Command-line help: versions --json.</extracomment>
        <translation>以一个 JSON 对象输出相同字段</translation>
    </message>
    <message id="Close">
        <source>Close</source>
        <extracomment>Accessible name of every close button.</extracomment>
        <translation>关闭</translation>
    </message>
    <message id="CloseDescription">
        <source>Closes this and goes back</source>
        <extracomment>Accessible description of every close button (the Escape key does the same).</extracomment>
        <translation>关闭并返回</translation>
    </message>
    <message id="CloseUpgradeViewAlertMessage">
        <source>The firmware upgrade is in progress. Please wait until it has finished.</source>
        <extracomment>Toast (1.5 s) when the user tries to close the upgrade screen while an upgrade is running.</extracomment>
        <translation>固件正在升级，请等待升级完成。</translation>
    </message>
    <message id="Confirm">
        <source>Confirm</source>
        <extracomment>Button of the 'open the App Store' alert on the game list page; leaves the application for the App Store.</extracomment>
        <translation>确定</translation>
    </message>
    <message id="ConnectControllerToComputerPrompt">
        <source>Connect the Q3 Dart controller to this computer</source>
        <extracomment>Toast (1.5 s) when the upgrade or the key test is asked for while no controller is attached to this computer.</extracomment>
        <translation>请将 Q3 Dart 手柄连接到这台电脑</translation>
    </message>
    <message id="ConnectGamepadPropmt">
        <source>Please connect the Q3 Dart controller.</source>
        <extracomment>Home screen: prompt asking the user to attach the controller. Also a toast (3 s) when the upgrade button is pressed with no controller connected.</extracomment>
        <translation>请连接Q3 Dart手柄。</translation>
    </message>
    <message id="ControllerDidNotReturn">
        <source>The controller did not come back after restarting. Please check the connection and try again.</source>
        <extracomment>Upgrade engine / command-line: after an expected restart the controller did not reconnect within the wait time.</extracomment>
        <translation>手柄重启后未能重新连接，请检查连接后重试。</translation>
    </message>
    <message id="ControllerIdentity">
        <source>Controller %1 · hardware %2 · protocol %3 · made %4</source>
        <extracomment>Who the attached controller is: %1 = Bluetooth address, %2 = hardware version, %3 = protocol version, %4 = production date (YYYY-MM-DD).</extracomment>
        <translation>手柄 %1 · 硬件 %2 · 协议 %3 · 生产日期 %4</translation>
    </message>
    <message id="CurrentVersion">
        <source>Current version</source>
        <extracomment>Connected and upgrade screens: caption of the controller's current firmware version (followed by the ':' text).</extracomment>
        <translation>当前版本</translation>
    </message>
    <message id="DeviceArgumentInvalid">
        <source>Invalid device "%1". Use sim, tcp:HOST:PORT or serial:PATH.</source>
        <extracomment>Command-line: the --device value is not one of the accepted forms. %1 = the value given. Keep sim, tcp:HOST:PORT and serial:PATH literally.</extracomment>
        <translation>无效的设备“%1”。请使用 sim、tcp:HOST:PORT 或 serial:PATH。</translation>
    </message>
    <message id="DeviceCannotUpgrade">
        <source>The controller refused the firmware upgrade</source>
        <extracomment>Toast when the controller refuses to start receiving a left-side or boot loader image.</extracomment>
        <translation>设备不可升级</translation>
    </message>
    <message id="DifferentControllerReturned">
        <source>A different controller came back after the restart. Nothing was sent to it; reconnect the controller you started the upgrade on and try again.</source>
        <extracomment>Upgrade failure: after a restart, a controller with another Bluetooth address answered; the run stops.</extracomment>
        <translation>重启后连接的是另一个手柄，未向其发送任何内容。请重新连接开始升级的手柄后重试。</translation>
    </message>
    <message id="DirectionDown">
        <source>down</source>
        <extracomment>Controller check: a stick direction.</extracomment>
        <translation>下</translation>
    </message>
    <message id="DirectionDownLeft">
        <source>down-left</source>
        <extracomment>Controller check: a stick direction.</extracomment>
        <translation>左下</translation>
    </message>
    <message id="DirectionDownRight">
        <source>down-right</source>
        <extracomment>Controller check: a stick direction.</extracomment>
        <translation>右下</translation>
    </message>
    <message id="DirectionLeft">
        <source>left</source>
        <extracomment>Controller check: a stick direction.</extracomment>
        <translation>左</translation>
    </message>
    <message id="DirectionRight">
        <source>right</source>
        <extracomment>Controller check: a stick direction.</extracomment>
        <translation>右</translation>
    </message>
    <message id="DirectionUp">
        <source>up</source>
        <extracomment>Controller check: a stick direction.</extracomment>
        <translation>上</translation>
    </message>
    <message id="DirectionUpLeft">
        <source>up-left</source>
        <extracomment>Controller check: a stick direction.</extracomment>
        <translation>左上</translation>
    </message>
    <message id="DirectionUpRight">
        <source>up-right</source>
        <extracomment>Controller check: a stick direction.</extracomment>
        <translation>右上</translation>
    </message>
    <message id="DownloadDigestMismatch">
        <source>The downloaded firmware is damaged (its checksum does not match) and was deleted. Please try again.</source>
        <extracomment>Toast (3 s) when a downloaded release archive does not match the digest the firmware server gave; the download is deleted.</extracomment>
        <translation>下载的固件已损坏（校验值不符），已删除。请重试。</translation>
    </message>
    <message id="DownloadFirmwareFailed">
        <source>Firmware download failed. Please check your network connection and try again.</source>
        <extracomment>Toast (3 s) when downloading an online firmware release fails.</extracomment>
        <translation>固件下载失败，请检查网络连接后重试。</translation>
    </message>
    <message id="DownloadNameRefused">
        <source>The firmware server offered the release under a file name that cannot be used ("%1"), so nothing was downloaded. Please tell the server's operator.</source>
        <extracomment>Upgrade failure when the server's file name for a release archive is refused (empty, hidden, or that of the application's own records or another release's archive); %1 = the name the server gave. Nothing was written.</extracomment>
        <translation>固件服务器提供的文件名无法使用（“%1”），因此未下载任何内容。请告知服务器的管理者。</translation>
    </message>
    <message id="DownloadTooLarge">
        <source>The firmware download is larger than %1 MiB and was stopped.</source>
        <extracomment>A release archive download exceeds the size limit; %1 = the limit in MiB.</extracomment>
        <translation>固件下载超过 %1 MiB，已停止。</translation>
    </message>
    <message id="DownloadWriteFailed">
        <source>The firmware could not be saved in the documents folder (%1). Free some disk space and try again.</source>
        <extracomment>Upgrade failure when a downloaded release archive, or its unpacked images, cannot be written to the documents folder (a full disk, no permission); %1 = the reason, in English (e.g. 'cannot write /home/u/Documents/1.2-1.3-1.4.zip: No space left on device'). Nothing was sent to the controller.</extracomment>
        <translation>无法将固件保存到文稿文件夹（%1）。请释放一些磁盘空间后重试。</translation>
    </message>
    <message id="EmptyFirmware">
        <source>No firmware available</source>
        <extracomment>Firmware list overlay: shown instead of rows when the local or online list is empty.</extracomment>
        <translation>暂无可用固件</translation>
    </message>
    <message id="FirmwareIsInvalid">
        <source>The firmware file is invalid or cannot be read.</source>
        <extracomment>Toast (1.5 s) when a firmware image file is missing or unreadable at the start of a transfer.</extracomment>
        <translation>固件文件无效或无法读取。</translation>
    </message>
    <message id="FirmwareTooLarge">
        <source>The firmware file %1 is too large for the controller.</source>
        <extracomment>An image is too large for its region on the controller (65536 bytes or more); the transfer is refused. %1 = file name.</extracomment>
        <translation>固件文件 %1 过大，手柄无法接收。</translation>
    </message>
    <message id="FirmwareUpgrade">
        <source>Firmware Upgrade</source>
        <extracomment>Connected screen: caption of the button that opens the upgrade screen.</extracomment>
        <translation>固件升级</translation>
    </message>
    <message id="FirmwareUpgradeDescription">
        <source>Choose a release and bring the controller's firmware up to date</source>
        <extracomment>Accessible description of the connected screen's upgrade tile.</extracomment>
        <translation>选择固件并升级手柄</translation>
    </message>
    <message id="FirmwareVersionSamePropmt">
        <source>The controller already has this firmware version. No upgrade is needed.</source>
        <extracomment>Upgrade screen: toast (3 s) when the chosen release matches the controller's versions.</extracomment>
        <translation>手柄已是该固件版本，无需升级。</translation>
    </message>
    <message id="FlashImagesSent">
        <source>All firmware images were accepted. The controller now reports version %1.</source>
        <extracomment>Command-line: every image was acknowledged by the controller. %1 = the controller's version text now (boot-left-right).</extracomment>
        <translation>所有固件映像均已被接收，手柄当前版本为 %1。</translation>
    </message>
    <message id="GameControllerLibraryMissing">
        <source>the controller library could not be loaded (%1)</source>
        <extracomment>Game controllers: reason shown in GameControllersUnavailable when the controller library cannot be loaded. %1 = the system's reason (in English), naming the file or the function that is missing.</extracomment>
        <translation>无法加载手柄库（%1）</translation>
    </message>
    <message id="GameControllerMappingsUnreadable">
        <source>The game controller mappings in %1 cannot be used: %2</source>
        <extracomment>Game controllers: the mapping file could not be read. %1 = its path; %2 = the reason.</extracomment>
        <translation>无法使用 %1 中的手柄映射：%2</translation>
    </message>
    <message id="GameControllerSourceBusy">
        <source>another part of the program is already reading the controllers</source>
        <extracomment>Game controllers: reason shown in GameControllersUnavailable when another part of the program already reads the controllers.</extracomment>
        <translation>程序的其他部分已在读取手柄</translation>
    </message>
    <message id="GameControllersUnavailable">
        <source>Game controllers cannot be used: %1</source>
        <extracomment>Game controllers: the machine's own controllers cannot be followed; virtual controllers still work. %1 = the reason (often a text from the controller library, in English).</extracomment>
        <translation>无法使用游戏手柄：%1</translation>
    </message>
    <message id="GamepadDisconnectByUpgradingFirmwarePrompt">
        <source>The controller is restarting as part of the upgrade. Please keep it connected.</source>
        <extracomment>Upgrade screen: warning line when the controller drops off for its expected restart during an upgrade.</extracomment>
        <translation>升级过程中手柄正在重启，请保持连接。</translation>
    </message>
    <message id="GamepadDisconnectManuallyPrompt">
        <source>The controller has been disconnected.</source>
        <extracomment>Toast (3 s) when the controller is unplugged; also the upgrade screen's warning line after an unexpected disconnection.</extracomment>
        <translation>手柄已断开连接。</translation>
    </message>
    <message id="GamepadFirmwareDamaged">
        <source>Unable to read the controller's firmware version. Its firmware may be damaged.</source>
        <extracomment>Upgrade screen: toast (3 s) when a release is chosen but the controller's versions have not been read.</extracomment>
        <translation>无法读取手柄固件版本，固件可能已损坏。</translation>
    </message>
    <message id="GettingStarted">
        <source>Getting Started</source>
        <extracomment>Home screen: title of the button that opens the tutorial page.</extracomment>
        <translation>新手教程</translation>
    </message>
    <message id="HistoryController">
        <source>controller %1</source>
        <extracomment>Upgrade history: the Bluetooth address of the controller a run was for; %1 = the address.</extracomment>
        <translation>手柄 %1</translation>
    </message>
    <message id="HistoryEmpty">
        <source>No upgrade has been recorded yet.</source>
        <extracomment>Command-line: the history command found no recorded upgrade runs.</extracomment>
        <translation>尚无升级记录。</translation>
    </message>
    <message id="HistoryFiles">
        <source>Image files</source>
        <extracomment>Upgrade history: a run that sent loose image files rather than a release.</extracomment>
        <translation>固件文件</translation>
    </message>
    <message id="HistoryRelease">
        <source>Release %1</source>
        <extracomment>Upgrade history: the release a run installed. %1 = its version, boot-left-right.</extracomment>
        <translation>版本 %1</translation>
    </message>
    <message id="HistoryUnreadable">
        <source>The upgrade history %1 cannot be read.</source>
        <extracomment>Command-line: the upgrade history file exists but cannot be read. %1 = the file's path.</extracomment>
        <translation>无法读取升级记录 %1。</translation>
    </message>
    <message id="HistoryVersions">
        <source>Versions %1 → %2</source>
        <extracomment>Upgrade history: the controller's versions before and after a run. %1 = before, %2 = after; ? where unknown.</extracomment>
        <translation>版本 %1 → %2</translation>
    </message>
    <message id="ImportCopyFailed">
        <source>The firmware package could not be written to the application's folder (%1). Nothing was imported; check the free disk space and try again.</source>
        <extracomment>Toast (3 s) when importing a firmware package fails on the application's side: its copy or its unpacked files cannot be written (disk full, a file in the way); %1 = the system's reason, in English (e.g. 'No space left on device'). The release folder is left as it was.</extracomment>
        <translation>无法将固件包写入应用程序的文件夹（%1）。未导入任何内容；请检查磁盘剩余空间后重试。</translation>
    </message>
    <message id="ImportReadFailed">
        <source>The file could not be read (%1). Nothing was imported.</source>
        <extracomment>Toast (3 s) when a firmware package opened into the application cannot be read (missing, no permission, a read error); %1 = the system's reason, in English.</extracomment>
        <translation>无法读取该文件（%1）。未导入任何内容。</translation>
    </message>
    <message id="CryptoLibraryUnavailable">
        <source>The cryptography library could not be loaded (%1): no file digest can be computed and no release signature checked. Install OpenSSL's libcrypto 3 and start again.</source>
        <extracomment>Any program, when a file digest or a release signature is first needed: libcrypto, loaded then, is missing or incomplete; %1 = the system loader's text naming the file. Digests and signature checks fail until it is installed.</extracomment>
        <translation>无法加载加密库（%1）：无法计算文件摘要，也无法校验发布签名。请安装 OpenSSL 的 libcrypto 3 后重新启动。</translation>
    </message>
    <message id="InfoKeysInvalid">
        <source>The information dictionary's %1 holds an entry that is not the base64 of a 32-byte Ed25519 public key ("%2"). Correct it before starting again: no release can be trusted until then.</source>
        <extracomment>Start-up (application and command line): the information dictionary's trusted-key array is malformed; %1 = the key (Q3DartReleaseKeys or Q3DartRootKeys), %2 = the bad entry. The program stops.</extracomment>
        <translation>信息字典的 %1 中有一项不是 32 字节 Ed25519 公钥的 base64（“%2”）。请先改正再启动：在此之前无法信任任何固件版本。</translation>
    </message>
    <message id="Joystick">
        <source>Joysticks</source>
        <extracomment>Key test screen: caption of the two sticks' section.</extracomment>
        <translation>摇杆</translation>
    </message>
    <message id="JumpToAppStorePrompt">
        <source>Open this game's store page in your web browser?</source>
        <extracomment>Games page: question before a store link opens in the web browser, when the link names no game.</extracomment>
        <translation>要在网页浏览器中打开这个游戏的商店页面吗？</translation>
    </message>
    <message id="KeyHome">
        <source>Home</source>
        <extracomment>Title of the home key on the key test screen</extracomment>
        <translation>主页</translation>
    </message>
    <message id="KeyMenu">
        <source>Menu</source>
        <extracomment>Title of the menu key on the key test screen</extracomment>
        <translation>菜单</translation>
    </message>
    <message id="KeyOptions">
        <source>Options</source>
        <extracomment>Title of the options key on the key test screen</extracomment>
        <translation>选项</translation>
    </message>
    <message id="KeyTest">
        <source>Key Test</source>
        <extracomment>Connected screen: caption of the button that opens the key test screen.</extracomment>
        <translation>按键测试</translation>
    </message>
    <message id="KeyTestDescription">
        <source>Check every key and both sticks of the controller</source>
        <extracomment>Accessible description of the connected screen's key test tile.</extracomment>
        <translation>检查手柄的每个按键和两个摇杆</translation>
    </message>
    <message id="KeyTestListening">
        <source>Listening for game controllers; press Ctrl+C to stop.</source>
        <extracomment>Command-line key test: shown on standard error when it starts listening.</extracomment>
        <translation>正在监听游戏手柄；按 Ctrl+C 停止。</translation>
    </message>
    <message id="LatestVersion">
        <source>Latest version</source>
        <extracomment>Connected and upgrade screens: caption of the newest online firmware version (followed by the ':' text).</extracomment>
        <translation>最新版本</translation>
    </message>
    <message id="LeftKeys">
        <source>Left Keys</source>
        <extracomment>Key test screen: caption of the left-side keys section.</extracomment>
        <translation>左侧按键</translation>
    </message>
    <message id="LightColour">
        <source>Light</source>
        <extracomment>Key test screen: button that sets the controller's light to the next colour.</extracomment>
        <translation>灯光</translation>
    </message>
    <message id="LightRefused">
        <source>%1 did not accept the light colour.</source>
        <extracomment>Key test screen: the controller refused to set its light. %1 = controller name.</extracomment>
        <translation>%1 未接受灯光颜色。</translation>
    </message>
    <message id="LocalFirmware">
        <source>Local Firmware</source>
        <extracomment>Upgrade screen: title of the button that opens the list of releases stored on this device.</extracomment>
        <translation>本地固件</translation>
    </message>
    <message id="MFiGame">
        <source>Supported Games</source>
        <extracomment>Home screen: title of the button that opens the list of supported games; connected screen: caption of the same button; the games page's title.</extracomment>
        <translation>支持的游戏</translation>
    </message>
    <message id="MFiGameDescription">
        <source>Games that support the controller</source>
        <extracomment>Accessible description of the buttons that open the game list.</extracomment>
        <translation>支持手柄的游戏</translation>
    </message>
    <message id="MappingFileTooLarge">
        <source>the file is larger than 16 MB</source>
        <extracomment>Game controllers: reason shown in GameControllerMappingsUnreadable when the mapping file is too large.</extracomment>
        <translation>文件大于 16 MB</translation>
    </message>
    <message id="NetworkModuleMissing">
        <source>The network component of the app (%1) is missing: it was looked for in %2. Reinstalling the app should restore it.</source>
        <extracomment>An HTTP request (release list, download) or a demo server could not start because the network component is not installed; %1 = its file name, %2 = the places looked in.</extracomment>
        <translation>应用的网络组件（%1）缺失：已在 %2 中查找。重新安装应用即可恢复。</translation>
    </message>
    <message id="NetworkModuleUnusable">
        <source>The network component of the app (%1) cannot be loaded: %2. Reinstalling the app should restore it.</source>
        <extracomment>An HTTP request or a demo server could not start because the network component is damaged; %1 = its file, %2 = the system loader's reason.</extracomment>
        <translation>无法加载应用的网络组件（%1）：%2。重新安装应用即可恢复。</translation>
    </message>
    <message id="NoControllerAnswered">
        <source>No device on %1 answered as a controller within %3 s. Devices tried: %2</source>
        <extracomment>Command-line: with no device named, every USB serial device was asked for its versions and none answered. %1 = the transport (usb-serial); %2 = the devices asked, comma-separated; %3 = the wait in seconds.</extracomment>
        <translation>在 %3 秒内，%1 上没有设备以手柄身份应答。已尝试的设备：%2</translation>
    </message>
    <message id="NoControllerAttached">
        <source>No controller was found on %1 within %3 s. %2</source>
        <extracomment>Command-line / engine: no controller appeared on the chosen device in time. %1 = device description (e.g. tcp:127.0.0.1:5000); %2 = the transport's last error text, may be empty; %3 = the wait in seconds.</extracomment>
        <translation>%3 秒内未在 %1 上找到手柄。%2</translation>
    </message>
    <message id="NoControllerConnected">
        <source>No game controller is connected.</source>
        <extracomment>Key test screen: the analogue panel when no controller is connected.</extracomment>
        <translation>未连接手柄。</translation>
    </message>
    <message id="NoNewerVersion">
        <source>No newer version</source>
        <extracomment>Connected and upgrade screens: shown as the latest version when the firmware server answered with no release the controller can take (a server that could not be reached shows ServerUnreachable instead).</extracomment>
        <translation>暂无新版本</translation>
    </message>
    <message id="NoRumbleController">
        <source>No connected game controller has rumble motors.</source>
        <extracomment>Command-line rumble: no connected controller has motors.</extracomment>
        <translation>没有已连接的手柄带有振动马达。</translation>
    </message>
    <message id="OlderReleaseConfirm">
        <source>Install older version %1? The controller runs %2, which is newer in some part; what it gains there is lost.</source>
        <extracomment>Upgrade screen question before an older release is installed; %1 = the release, %2 = the controller's versions.</extracomment>
        <translation>要安装旧版本 %1 吗？手柄当前运行的 %2 在某些部分更新，这些部分的改进将会丢失。</translation>
    </message>
    <message id="OlderVersionRefused">
        <source>Release %1 is older than the controller's firmware %2. Add --allow-older to install it anyway.</source>
        <extracomment>Command-line: upgrade to a release older than the controller's firmware without --allow-older. %1 = the release's version; %2 = the controller's version (boot-left-right).</extracomment>
        <translation>版本 %1 比手柄当前固件 %2 旧。如仍要安装，请添加 --allow-older。</translation>
    </message>
    <message id="OnlineFirmware">
        <source>Online Firmware</source>
        <extracomment>Upgrade screen: title of the button that opens the list of releases offered by the firmware server.</extracomment>
        <translation>在线固件</translation>
    </message>
    <message id="OutcomeCancelled">
        <source>Cancelled</source>
        <extracomment>Upgrade history: a run that was cancelled.</extracomment>
        <translation>已取消</translation>
    </message>
    <message id="OutcomeCompleted">
        <source>Completed</source>
        <extracomment>Upgrade history: a run that completed, its versions read back.</extracomment>
        <translation>已完成</translation>
    </message>
    <message id="OutcomeFailed">
        <source>Failed</source>
        <extracomment>Upgrade history: a run that failed.</extracomment>
        <translation>失败</translation>
    </message>
    <message id="PadChoice">
        <source>%1 (player %2)</source>
        <extracomment>Key test screen: an entry of the controller choice. %1 = controller name; %2 = player index.</extracomment>
        <translation>%1（玩家 %2）</translation>
    </message>
    <message id="PhaseBootLoader">
        <source>Sending the boot loader…</source>
        <extracomment>Upgrade screen: the run sends the boot loader image.</extracomment>
        <translation>正在发送引导程序…</translation>
    </message>
    <message id="PhaseDigestCheck">
        <source>Checking the download…</source>
        <extracomment>Upgrade screen: the downloaded archive's checksum is being checked.</extracomment>
        <translation>正在校验下载内容…</translation>
    </message>
    <message id="PhaseDownload">
        <source>Downloading the firmware…</source>
        <extracomment>Upgrade screen: the run is downloading the release.</extracomment>
        <translation>正在下载固件…</translation>
    </message>
    <message id="PhaseDownloadProgress">
        <source>Downloading the firmware… %1%</source>
        <extracomment>Upgrade screen: the run is downloading the release. %1 = percent received, a whole number.</extracomment>
        <translation>正在下载固件… %1%</translation>
    </message>
    <message id="PhaseDownloadSize">
        <source>Downloading the firmware: %1 of %2</source>
        <extracomment>Upgrade screen: the run downloads the release; %1 = size received, %2 = the archive's size (such as 1.2 MB).</extracomment>
        <translation>正在下载固件：%1 / %2</translation>
    </message>
    <message id="PhaseLeft">
        <source>Sending the left side's firmware…</source>
        <extracomment>Upgrade screen: the run sends the left side's image.</extracomment>
        <translation>正在发送左侧固件…</translation>
    </message>
    <message id="PhaseRestart">
        <source>Waiting for the controller to restart…</source>
        <extracomment>Upgrade screen: all images were accepted; waiting for the controller to come back from its restart.</extracomment>
        <translation>正在等待手柄重启…</translation>
    </message>
    <message id="PhaseRight">
        <source>Sending the right side's firmware…</source>
        <extracomment>Upgrade screen: the run sends the right side's image.</extracomment>
        <translation>正在发送右侧固件…</translation>
    </message>
    <message id="PhaseUnpack">
        <source>Unpacking the firmware…</source>
        <extracomment>Upgrade screen: the release archive is being unpacked.</extracomment>
        <translation>正在解压固件…</translation>
    </message>
    <message id="PhaseVersions">
        <source>Reading the controller's versions…</source>
        <extracomment>Upgrade screen: the controller's versions are read back to confirm the upgrade.</extracomment>
        <translation>正在读取手柄版本…</translation>
    </message>
    <message id="PlayerIndex">
        <source>player %1</source>
        <extracomment>Key test screen: identity line. %1 = the controller's player index.</extracomment>
        <translation>玩家 %1</translation>
    </message>
    <message id="QuitAnyway">
        <source>Quit anyway</source>
        <extracomment>Button of the question when the window is closed during an upgrade: closes the window and stops the upgrade.</extracomment>
        <translation>仍然退出</translation>
    </message>
    <message id="QuitDuringUpgradePrompt">
        <source>A firmware upgrade is running. Quitting now leaves the controller unfinished; it may need the upgrade again.</source>
        <extracomment>Question when the window is closed while an upgrade runs.</extracomment>
        <translation>固件正在升级。现在退出会使手柄升级中断，可能需要重新升级。</translation>
    </message>
    <message id="ReleaseKeySetExpired">
        <source>The release key set expired on %1, so the release list was refused.</source>
        <extracomment>Command line and upgrade screens: the key set signed by the root has expired; %1 = its expiry time (UTC, ISO 8601).</extracomment>
        <translation>发布密钥集已于 %1 过期，固件版本列表已被拒绝。</translation>
    </message>
    <message id="ReleaseKeySetInvalid">
        <source>The release key set is not signed by a trusted root key, so the release list was refused.</source>
        <extracomment>Command line and upgrade screens: a root key is trusted and the key set (keys.json) is missing, malformed or not signed by a trusted root; the release list is not used.</extracomment>
        <translation>发布密钥集没有可信根密钥的签名，固件版本列表已被拒绝。</translation>
    </message>
    <message id="ReleaseKeySetRollback">
        <source>The release key set (version %1) is older than one already accepted from this server (version %2), so the release list was refused.</source>
        <extracomment>Command line and upgrade screens: the key set is older than one accepted before from the same server; %1 = its version, %2 = the version accepted before.</extracomment>
        <translation>发布密钥集（版本 %1）比之前从该服务器接受的密钥集（版本 %2）更旧，固件版本列表已被拒绝。</translation>
    </message>
    <message id="ReleaseLacksImage">
        <source>The release's package lacks a firmware image (%1), so nothing was sent. Its download is forgotten: the next try downloads it anew.</source>
        <extracomment>Upgrade failure (toast, upgrade screen, command line) when an online release's unpacked download lacks an image file; %1 = the missing file names (e.g. 'V7E_ISP.bin'). Its download record is dropped, so the next try downloads it again. The controller was not touched.</extracomment>
        <translation>该版本的固件包缺少固件映像（%1），因此未发送任何内容。已删除其下载记录：下次尝试时将重新下载。</translation>
    </message>
    <message id="ReleaseListExpired">
        <source>The release list expired on %1, so it was refused: the server may be replaying an old list.</source>
        <extracomment>Command line and upgrade screens: the signed release list has expired; %1 = its expiry time (UTC, ISO 8601).</extracomment>
        <translation>固件版本列表已于 %1 过期，已被拒绝：服务器可能在重放旧的列表。</translation>
    </message>
    <message id="ReleaseListFailed">
        <source>Could not get the release list: %1</source>
        <extracomment>Command line: the online release list could not be fetched; %1 = the error.</extracomment>
        <translation>无法获取固件版本列表：%1</translation>
    </message>
    <message id="ReleaseListRefused">
        <source>Release list refused</source>
        <extracomment>Connected and upgrade screens: shown as the latest version when a key or root is trusted and the online list or key set was refused (bad signature, expired, older than one seen); the upgrade screen shows the reason below it.</extracomment>
        <translation>版本列表已被拒绝</translation>
    </message>
    <message id="ReleaseListRollback">
        <source>The release list (version %1) is older than one already accepted from this server (version %2), so it was refused.</source>
        <extracomment>Command line and upgrade screens: the signed release list is older than one accepted before from the same server; %1 = its version, %2 = the version accepted before.</extracomment>
        <translation>固件版本列表（版本 %1）比之前从该服务器接受的列表（版本 %2）更旧，已被拒绝。</translation>
    </message>
    <message id="ReleaseListSignatureInvalid">
        <source>The release list is not signed by a trusted key, so it was refused: it may not come from the vendor.</source>
        <extracomment>Command line and upgrade screens: a key or root is trusted and the online release list's signature (r1.sig) is missing or does not verify with a trusted key; nothing from the list is used.</extracomment>
        <translation>固件版本列表没有可信密钥的签名，已被拒绝：它可能并非来自厂商。</translation>
    </message>
    <message id="ReleaseListTooLarge">
        <source>The release list is larger than %1 MiB and was refused.</source>
        <extracomment>The firmware server's release list exceeds the size limit; %1 = the limit in MiB.</extracomment>
        <translation>固件版本列表超过 %1 MiB，已拒绝。</translation>
    </message>
    <message id="ReleaseMarkInvalid">
        <source>invalid signature</source>
        <extracomment>Firmware list: mark beside an online release whose signature no trusted key verifies.</extracomment>
        <translation>签名无效</translation>
    </message>
    <message id="ReleaseMarkLocalFile">
        <source>not signed (local file)</source>
        <extracomment>Firmware list: after a local release's version (a package the user opened into the application); local releases are installed without a signature check.</extracomment>
        <translation>未签名（本地文件）</translation>
    </message>
    <message id="ReleaseMarkSigned">
        <source>signed</source>
        <extracomment>Firmware list: mark beside an online release whose signature a trusted key verifies.</extracomment>
        <translation>已签名</translation>
    </message>
    <message id="ReleaseMarkUnchecked">
        <source>signed, not checked</source>
        <extracomment>Firmware list: mark beside an online release that carries a signature while no key is trusted to check it.</extracomment>
        <translation>已签名（未验证）</translation>
    </message>
    <message id="ReleaseMarkUnsigned">
        <source>unsigned</source>
        <extracomment>Firmware list: mark beside an online release without a signature.</extracomment>
        <translation>未签名</translation>
    </message>
    <message id="ReleaseNotFound">
        <source>Release %1 was not found.</source>
        <extracomment>Command line: no release with the version the user asked for; %1 = the version.</extracomment>
        <translation>未找到固件版本 %1。</translation>
    </message>
    <message id="ReleaseNotSigned">
        <source>This firmware release is not signed, so it cannot be installed. Nothing was sent to the controller.</source>
        <extracomment>Toast (3 s) and command line: a trusted release key is set and the chosen online release has no signature; nothing is downloaded, unpacked or sent.</extracomment>
        <translation>此固件版本未签名，无法安装。未向手柄发送任何数据。</translation>
    </message>
    <message id="ReleaseSignatureInvalid">
        <source>This firmware release failed the signature check and may have been tampered with. Nothing of it was kept or sent to the controller.</source>
        <extracomment>Upgrade failure: the release's signature does not verify with a trusted key.</extracomment>
        <translation>此固件版本未通过签名检查，可能已被篡改。未保留其任何内容，也未向手柄发送任何内容。</translation>
    </message>
    <message id="ReleaseTrustStateDamaged">
        <source>The record of accepted release lists (%1) cannot be used: %2. Every list from this server is refused until it is mended; remove the file to trust the server afresh.</source>
        <extracomment>Command line and upgrade screens: the file recording the accepted list versions cannot be used; %1 = its path, %2 = why (e.g. its field servers › http://h › list_version is not a whole number).</extracomment>
        <translation>已接受的固件版本列表记录（%1）无法使用：%2。在修复之前，将拒绝此服务器的所有列表；删除该文件即可重新信任服务器。</translation>
    </message>
    <message id="ReleaseVersionUnreadable">
        <source>“%1” is not a firmware version (boot-left-right, each major.minor): this release was left out.</source>
        <extracomment>A release list entry or local release folder whose version text does not parse; %1 = the text.</extracomment>
        <translation>“%1”不是有效的固件版本号（启动-左侧-右侧，每段为 主版本.次版本），已忽略此版本。</translation>
    </message>
    <message id="Retry">
        <source>Retry</source>
        <extracomment>Connected and upgrade screens: button beside 'Server unreachable'; asks the firmware server for the release list again.</extracomment>
        <translation>重试</translation>
    </message>
    <message id="RightKeys">
        <source>Right Keys</source>
        <extracomment>Key test screen: caption of the right-side keys section.</extracomment>
        <translation>右侧按键</translation>
    </message>
    <message id="Rumble">
        <source>Rumble</source>
        <extracomment>Key test screen: button that runs both motors of the controller for half a second.</extracomment>
        <translation>振动</translation>
    </message>
    <message id="RumbleRefused">
        <source>%1 did not accept the rumble request.</source>
        <extracomment>Command-line rumble / key test: the controller refused to run its motors. %1 = controller name.</extracomment>
        <translation>%1 未接受振动请求。</translation>
    </message>
    <message id="RumbleRunning">
        <source>Rumbling %1 for %2 s</source>
        <extracomment>Command-line rumble: the motors run. %1 = controller name; %2 = seconds.</extracomment>
        <translation>%1 正在振动 %2 秒</translation>
    </message>
    <message id="RumbleTriggers">
        <source>Trigger rumble</source>
        <extracomment>Key test screen: button that runs the motors in the triggers for half a second.</extracomment>
        <translation>扳机振动</translation>
    </message>
    <message id="SelectAFirmware">
        <source>Select a firmware version</source>
        <extracomment>Upgrade screen status line before a release is chosen; also the header of the firmware list overlay.</extracomment>
        <translation>请选择固件</translation>
    </message>
    <message id="SelectedDamagedFirmware">
        <source>The selected firmware is invalid. Please choose another one.</source>
        <extracomment>Upgrade screen: toast (3 s) when the chosen release's version text is malformed (or nothing usable is chosen).</extracomment>
        <translation>所选固件无效，请重新选择。</translation>
    </message>
    <message id="SelectedFirmware">
        <source>Selected firmware</source>
        <extracomment>Upgrade screen: caption before the chosen release's version (followed by the ':' text and the version).</extracomment>
        <translation>已选固件</translation>
    </message>
    <message id="SerialNumber">
        <source>serial %1</source>
        <extracomment>Key test screen: identity line. %1 = the controller's serial number.</extracomment>
        <translation>序列号 %1</translation>
    </message>
    <message id="ServerUnreachable">
        <source>Server unreachable</source>
        <extracomment>Connected and upgrade screens: shown as the latest version when the firmware server could not be reached (or did not answer with a release list); the reason and a Retry button are shown with it. Keep it short: it stands in the version's place.</extracomment>
        <translation>无法连接服务器</translation>
    </message>
    <message id="ServerUnreachableReason">
        <source>Could not reach the firmware server: %1</source>
        <extracomment>Connected and upgrade screens: why the latest version is not known; %1 = the network error (English, from the system), e.g. 'Connection refused'.</extracomment>
        <translation>无法连接固件服务器：%1</translation>
    </message>
    <message id="SleepInhibitReason">
        <source>Upgrading the controller's firmware</source>
        <extracomment>Given to the system (logind, the desktop's screen saver) as the reason it must not sleep during an upgrade; the system may show it in its power settings or when asked to suspend.</extracomment>
        <translation>正在升级手柄固件</translation>
    </message>
    <message id="TransferStalled">
        <source>The firmware transfer was stopped because the controller stopped responding. Please reconnect the controller and try again.</source>
        <extracomment>Upgrade engine / command-line: a transfer got no accepted reply for too long and was stopped.</extracomment>
        <translation>手柄长时间无响应，固件传输已停止。请重新连接手柄后重试。</translation>
    </message>
    <message id="TrustKeyInvalid">
        <source>Invalid release key "%1": give the base64 of a 32-byte Ed25519 public key.</source>
        <extracomment>Command line: the value of --trust-key is not a release public key; %1 = the value given.</extracomment>
        <translation>无效的发布密钥“%1”：请提供 32 字节 Ed25519 公钥的 base64 编码。</translation>
    </message>
    <message id="TryAgain">
        <source>Try again</source>
        <extracomment>Upgrade screen: the upgrade button after a failed or cancelled run.</extracomment>
        <translation>重试</translation>
    </message>
    <message id="Unmapped">
        <source>unmapped</source>
        <extracomment>Key test screen: identity line of a joystick that has no game-controller mapping.</extracomment>
        <translation>未映射</translation>
    </message>
    <message id="UnplugDevicePrompt">
        <source>The controller is not responding. Please unplug it and plug it in again.</source>
        <extracomment>Toast (4 s) when the controller does not answer the version query within 8 seconds.</extracomment>
        <translation>手柄无响应，请拔出后重新插入。</translation>
    </message>
    <message id="UnzipFailed">
        <source>Unzipping failed. The firmware package is damaged or could not be unpacked.</source>
        <extracomment>Toast (3 s) when a firmware package opened into the application cannot be unpacked (damaged or not really a zip archive, too large, unsupported); the release folder is left as it was. A disk that cannot be written has ImportCopyFailed.</extracomment>
        <translation>解压失败。固件包已损坏或无法解压。</translation>
    </message>
    <message id="UpgradeAlreadyRunning">
        <source>Another upgrade is still running. Wait until it has ended.</source>
        <extracomment>Upgrade run / command-line: an upgrade was started while another one is still running.</extracomment>
        <translation>另一个升级仍在进行中，请等待其结束。</translation>
    </message>
    <message id="UpgradeCancelled">
        <source>The upgrade was cancelled.</source>
        <extracomment>Upgrade run / command-line: the reason recorded when an upgrade was cancelled (by the user, another release choice or an unplug during the download).</extracomment>
        <translation>升级已取消。</translation>
    </message>
    <message id="UpgradeCancelledTitle">
        <source>Upgrade cancelled</source>
        <extracomment>Upgrade screen: status line after a run was cancelled; the reason is shown beneath.</extracomment>
        <translation>升级已取消</translation>
    </message>
    <message id="UpgradeCompleted">
        <source>Upgrade completed</source>
        <extracomment>Upgrade screen status line when the progress reaches 100 %.</extracomment>
        <translation>升级完成</translation>
    </message>
    <message id="UpgradeFailedNeedNewFirmware">
        <source>Upgrade failed: this firmware package is incomplete. Please import a new one.</source>
        <extracomment>Toast (3 s) when a local release folder lacks one of the three image files.</extracomment>
        <translation>升级失败：该固件包不完整，请导入新的固件包。</translation>
    </message>
    <message id="UpgradeFailedTitle">
        <source>Upgrade failed</source>
        <extracomment>Upgrade screen: status line after a run failed; the reason is shown beneath.</extracomment>
        <translation>升级失败</translation>
    </message>
    <message id="UpgradeHistory">
        <source>Upgrade history</source>
        <extracomment>Upgrade screen: the button that opens the list of recorded upgrade runs, and that list's title.</extracomment>
        <translation>升级记录</translation>
    </message>
    <message id="UpgradeInfo">
        <source>What's new</source>
        <extracomment>Upgrade screen: caption of the newest release's notes (followed by the ':' text).</extracomment>
        <translation>更新内容</translation>
    </message>
    <message id="UpgradeNow">
        <source>Upgrade Now</source>
        <extracomment>Upgrade screen: title of the button that starts the upgrade.</extracomment>
        <translation>立即升级</translation>
    </message>
    <message id="UpgradeSucceeded">
        <source>Upgrade completed. The controller now reports version %1.</source>
        <extracomment>Command-line: the upgrade run finished. %1 = the controller's version text now (boot-left-right).</extracomment>
        <translation>升级完成，手柄当前版本为 %1。</translation>
    </message>
    <message id="UpgradeWarning">
        <source>Upgrading. Do not disconnect the controller or close the app.</source>
        <extracomment>Upgrade screen: warning line shown while an upgrade is running.</extracomment>
        <translation>正在升级，请勿断开手柄或关闭应用。</translation>
    </message>
    <message id="Upgrading...">
        <source>Upgrading... </source>
        <extracomment>Upgrade screen status line during an upgrade; the code appends the percentage (e.g. 37.50%). Keep the trailing space.</extracomment>
        <translation>正在升级…… </translation>
    </message>
    <message id="VerdictChatter">
        <source>chatters</source>
        <extracomment>Controller check verdict: a button that bounces.</extracomment>
        <translation>抖动</translation>
    </message>
    <message id="VerdictGood">
        <source>good</source>
        <extracomment>Controller check verdict.</extracomment>
        <translation>良好</translation>
    </message>
    <message id="VerdictHigh">
        <source>higher than typical</source>
        <extracomment>Controller check verdict: circularity error above what is typical, not yet worn.</extracomment>
        <translation>高于正常</translation>
    </message>
    <message id="VerdictShort">
        <source>short</source>
        <extracomment>Controller check verdict: the range or travel falls short.</extracomment>
        <translation>行程不足</translation>
    </message>
    <message id="VerdictStuck">
        <source>stuck</source>
        <extracomment>Controller check verdict: a button held through the whole check.</extracomment>
        <translation>卡住</translation>
    </message>
    <message id="VerdictTypical">
        <source>typical</source>
        <extracomment>Controller check verdict: as most pads in use.</extracomment>
        <translation>正常</translation>
    </message>
    <message id="VerdictUnknown">
        <source>not measured</source>
        <extracomment>Controller check verdict: not enough was measured.</extracomment>
        <translation>未测量</translation>
    </message>
    <message id="VerdictWorn">
        <source>worn</source>
        <extracomment>Controller check verdict.</extracomment>
        <translation>已磨损</translation>
    </message>
    <message id="VersionsMismatch">
        <source>After the upgrade the controller reports version %1, but the release is %2.</source>
        <extracomment>Command-line: versions differ after the upgrade. %1 = version the controller reports; %2 = version of the release that was installed.</extracomment>
        <translation>升级后手柄报告的版本为 %1，但该固件版本为 %2。</translation>
    </message>
    <message id="VersionsNotRead">
        <source>The controller did not report its versions after the upgrade. Please reconnect it and check its version.</source>
        <extracomment>Upgrade run / command-line: after the images were sent the controller did not answer the version query.</extracomment>
        <translation>升级后手柄未报告其版本。请重新连接手柄并检查其版本。</translation>
    </message>
    <message id="VirtualControllerName">
        <source>Virtual controller</source>
        <extracomment>Game controllers: the name of the virtual controller used by the simulator, the demo and tests.</extracomment>
        <translation>虚拟手柄</translation>
    </message>
    <message id="WebPageUnavailable">
        <source>This page cannot be shown: the web page component of the app is missing or damaged. Reinstalling the app should restore it.</source>
        <extracomment>Shown in place of the page on the game list and tutorial screens when the component that shows web pages is missing or cannot be loaded.</extracomment>
        <translation>无法显示此页面：应用的网页组件缺失或已损坏。重新安装应用即可恢复。</translation>
    </message>
    <message id="RestartWaitStopped">
        <source>Stopped waiting for the controller to restart. It keeps the images it has received; reconnect it and check its versions.</source>
        <extracomment>Upgrade screen and tools: the user stopped waiting for the controller's restart.</extracomment>
        <translation>已停止等待手柄重启。手柄保留已收到的固件；请重新连接并查看其版本。</translation>
    </message>
    <message id="UpgradeCancelledAfterImage">
        <source>Upgrade cancelled once the image being written had ended.</source>
        <extracomment>Upgrade screen and tools: a cancel asked for during an image took effect at the image's end.</extracomment>
        <translation>正在写入的固件结束后，升级已取消。</translation>
    </message>
    <message id="StepImageBootLoader">
        <source>Boot loader</source>
        <extracomment>Upgrade screen: the boot loader image in the plan and the step list.</extracomment>
        <translation>引导程序</translation>
    </message>
    <message id="StepImageLeft">
        <source>Left side</source>
        <extracomment>Upgrade screen: the left side's image in the plan and the step list.</extracomment>
        <translation>左侧</translation>
    </message>
    <message id="StepImageRight">
        <source>Right side</source>
        <extracomment>Upgrade screen: the right side's image in the plan and the step list.</extracomment>
        <translation>右侧</translation>
    </message>
    <message id="SizeAfterDownload">
        <source>size known after the download</source>
        <extracomment>Upgrade screen: an image's size before the release is downloaded.</extracomment>
        <translation>下载后可知大小</translation>
    </message>
    <message id="DurationSeconds">
        <source>%1 s</source>
        <extracomment>A duration; %1 = whole seconds.</extracomment>
        <translation>%1 秒</translation>
    </message>
    <message id="DurationMinutes">
        <source>%1 min %2 s</source>
        <extracomment>A duration; %1 = minutes, %2 = seconds.</extracomment>
        <translation>%1 分 %2 秒</translation>
    </message>
    <message id="StopWaiting">
        <source>Stop waiting</source>
        <extracomment>Upgrade screen: the cancel button while the controller restarts.</extracomment>
        <translation>停止等待</translation>
    </message>
    <message id="CancelPending">
        <source>Stopping…</source>
        <extracomment>Upgrade screen: the cancel button after a cancel was asked for during an image.</extracomment>
        <translation>正在停止…</translation>
    </message>
    <message id="CancelUnavailableWhy">
        <source>An image is being written: stopping now would leave that side unable to start. Cancel is offered again when the image has ended.</source>
        <extracomment>Upgrade screen: tooltip and accessible description of the disabled cancel button.</extracomment>
        <translation>正在写入固件：此时停止会使该侧无法启动。固件写入结束后可再次取消。</translation>
    </message>
    <message id="CancelPendingWhy">
        <source>The upgrade stops when the image being written has ended.</source>
        <extracomment>Upgrade screen: tooltip of the cancel button after a cancel was asked for.</extracomment>
        <translation>正在写入的固件结束后升级将停止。</translation>
    </message>
    <message id="PlanSends">
        <source>Will send</source>
        <extracomment>Upgrade screen: caption above the images a run will send.</extracomment>
        <translation>将发送</translation>
    </message>
    <message id="PlanImage">
        <source>%1 (%2)</source>
        <extracomment>Upgrade screen: one image; %1 = its name, %2 = its size.</extracomment>
        <translation>%1（%2）</translation>
    </message>
    <message id="PlanSkipped">
        <source>Not sent, already up to date: %1</source>
        <extracomment>Upgrade screen: the images the controller already has; %1 = their names.</extracomment>
        <translation>不发送（已是最新）：%1</translation>
    </message>
    <message id="ListSeparator">
        <source>, </source>
        <extracomment>Separator between the items of a short list.</extracomment>
        <translation>、</translation>
    </message>
    <message id="PlanDuration">
        <source>Estimated duration: about %1</source>
        <extracomment>Upgrade screen: %1 = a duration.</extracomment>
        <translation>预计用时：约 %1</translation>
    </message>
    <message id="PlanDurationAtLeast">
        <source>Estimated duration: at least %1</source>
        <extracomment>Upgrade screen: the estimate before the release's image sizes are known, which the images' sending will add to; %1 = a duration.</extracomment>
        <translation>预计用时：至少 %1</translation>
    </message>
    <message id="PlanSignature">
        <source>Signature: %1</source>
        <extracomment>Upgrade screen: %1 = signed, unsigned, local file…</extracomment>
        <translation>签名：%1</translation>
    </message>
    <message id="NoReleaseNotes">
        <source>This release has no notes.</source>
        <extracomment>Upgrade screen: the picked release comes without release notes.</extracomment>
        <translation>此版本没有更新说明。</translation>
    </message>
    <message id="StepReadBack">
        <source>Reading the versions back</source>
        <extracomment>Upgrade screen step list.</extracomment>
        <translation>读取版本</translation>
    </message>
    <message id="StepsTimeLeft">
        <source>Time left: about %1</source>
        <extracomment>Upgrade screen: the whole run's time left; %1 = a duration.</extracomment>
        <translation>剩余时间：约 %1</translation>
    </message>
    <message id="CliInterruptWaitsForImage">
        <source>Interrupted: the image being written goes on to its end (or its silence limit), then the upgrade stops.</source>
        <extracomment>Command line: Ctrl-C during an image.</extracomment>
        <translation>已中断：正在写入的固件将继续到结束（或超时），然后停止升级。</translation>
    </message>
    <message id="CliStationHelp">
        <source>run the same flash or upgrade job on every controller named with --device, all at once, each with its own run, limits, restarts and history record; succeeds only when every controller completed</source>
        <extracomment>Command-line help: the station command.</extracomment>
        <translation>在每个用 --device 指定的控制器上同时运行同一个刷写或升级任务，每个控制器各有自己的运行、限制、重启和历史记录；仅当所有控制器都完成时才成功</translation>
    </message>
    <message id="CliStationDevice">
        <source>a controller of the station (tcp:HOST:PORT, serial:PATH or sim); repeat for each</source>
        <extracomment>Command-line help: the station command's --device option.</extracomment>
        <translation>工作站的一个控制器（tcp:HOST:PORT、serial:PATH 或 sim）；每个控制器重复一次</translation>
    </message>
    <message id="CliStationNeedsDevice">
        <source>station needs at least one --device</source>
        <extracomment>Command-line usage error: station was given no --device.</extracomment>
        <translation>station 至少需要一个 --device</translation>
    </message>
    <message id="CliStationDeviceTwice">
        <source>%1 is named twice: each controller is named once</source>
        <extracomment>Command-line usage error: the same device was named twice for station. %1 = the device.</extracomment>
        <translation>%1 被指定了两次：每个控制器只能指定一次</translation>
    </message>
    <message id="CliStationNeedsAddress">
        <source>%1 does not name one controller: give tcp:HOST:PORT, serial:PATH or sim</source>
        <extracomment>Command-line usage error: station was given a device without an address (auto). %1 = the device text.</extracomment>
        <translation>%1 没有指定唯一的控制器：请给出 tcp:HOST:PORT、serial:PATH 或 sim</translation>
    </message>
    <message id="CliStationNeedsJob">
        <source>station needs a job after its devices: flash … or upgrade …</source>
        <extracomment>Command-line usage error: station was given no job, or an unknown one.</extracomment>
        <translation>station 在设备之后需要一个任务：flash … 或 upgrade …</translation>
    </message>
    <message id="CliStationControllerFailed">
        <source>%1: %2</source>
        <extracomment>Command line, station: one controller's failure. %1 = the device (e.g. tcp:127.0.0.1:6000); %2 = the reason.</extracomment>
        <translation>%1：%2</translation>
    </message>
    <message id="CliStationSummary">
        <source>%1 of %2 controllers completed.</source>
        <extracomment>Command line, station: how many controllers completed. %1 = completed; %2 = all.</extracomment>
        <translation>%2 个控制器中有 %1 个已完成。</translation>
    </message>
    <message id="CliImportSummary">
        <source>%1 of %2 archives imported.</source>
        <extracomment>Command line, import of several archives, on standard error after the failures: how many were imported. %1 = imported; %2 = all.</extracomment>
        <translation>%2 个压缩包中有 %1 个已导入。</translation>
    </message>
    <message id="StationConnecting">
        <source>connecting…</source>
        <extracomment>Command line, station status line: the controller is not attached yet.</extracomment>
        <translation>正在连接…</translation>
    </message>
    <message id="StationWaitingForDownload">
        <source>waiting for the release's download…</source>
        <extracomment>Command line, station status line: the run waits for another controller's download of the same release.</extracomment>
        <translation>正在等待固件下载…</translation>
    </message>
    <message id="StationRunning">
        <source>%1 %2%</source>
        <extracomment>Command line, station status line during a run. %1 = what the run does (a phase text); %2 = percent done.</extracomment>
        <translation>%1 %2%</translation>
    </message>
    <message id="StationCompleted">
        <source>completed, versions %1</source>
        <extracomment>Command line, station status line: the run completed. %1 = the versions read afterwards (B-L-R).</extracomment>
        <translation>已完成，版本 %1</translation>
    </message>
    <message id="StationFailed">
        <source>failed: %1</source>
        <extracomment>Command line, station status line: the run failed. %1 = the reason.</extracomment>
        <translation>失败：%1</translation>
    </message>
    <message id="HelpArguments">
        <source>Arguments:</source>
        <extracomment>Help of q3dart: the heading of the arguments.</extracomment>
        <translation>参数：</translation>
    </message>
    <message id="AppHelpDescription">
        <source>Q3 Dart companion: firmware versions, upgrades and key test.</source>
        <extracomment>Help of q3dart: what the program is, under the usage line.</extracomment>
        <translation>Q3 Dart 助手：固件版本、升级和按键测试。</translation>
    </message>
    <message id="AppOptionSimulate">
        <source>Run against the simulated controller and the demo releases, with a throw-away documents directory.</source>
        <extracomment>Help of q3dart: the --simulate option.</extracomment>
        <translation>使用模拟控制器和演示版本运行，文稿目录用后即弃。</translation>
    </message>
    <message id="AppOptionScreenshots">
        <source>Render every screen to PNG files in DIR and exit.</source>
        <extracomment>Help of q3dart: the --screenshots option; DIR = a folder.</extracomment>
        <translation>将每个界面渲染为 DIR 中的 PNG 文件，然后退出。</translation>
    </message>
    <message id="AppOptionSize">
        <source>The window's size, such as 720x405 (at least that) or 1920x1080.</source>
        <extracomment>Help of q3dart: the --size option.</extracomment>
        <translation>窗口大小，例如 720x405（至少如此）或 1920x1080。</translation>
    </message>
    <message id="AppOptionDevice">
        <source>The controller: sim, tcp:HOST:PORT or serial:PATH (default: the first USB serial controller).</source>
        <extracomment>Help of q3dart: the --device option; sim, tcp:HOST:PORT and serial:PATH are typed as they are.</extracomment>
        <translation>控制器：sim、tcp:HOST:PORT 或 serial:PATH（默认：第一个 USB 串口控制器）。</translation>
    </message>
    <message id="AppOptionDocuments">
        <source>The documents directory.</source>
        <extracomment>Help of q3dart: the --documents option.</extracomment>
        <translation>文稿目录。</translation>
    </message>
    <message id="AppOptionServer">
        <source>The firmware server's base address.</source>
        <extracomment>Help of q3dart: the --server option.</extracomment>
        <translation>固件服务器的基础地址。</translation>
    </message>
    <message id="AppOptionLanguage">
        <source>The language: a tag such as en, zh-Hans or ja-JP.</source>
        <extracomment>Help of q3dart: the --language option; the tags are typed as they are.</extracomment>
        <translation>语言：en、zh-Hans 或 ja-JP 这样的标记。</translation>
    </message>
    <message id="AppOptionMeasureStartup">
        <source>Print the time to the first shown screen and the resident memory, then exit (for benchmarks).</source>
        <extracomment>Help of q3dart: the --measure-startup option.</extracomment>
        <translation>打印显示第一个界面所用的时间和常驻内存，然后退出（用于基准测试）。</translation>
    </message>
    <message id="AppOptionMeasureUpgrade">
        <source>With --simulate: upgrade the controller to the newest online release through the screens, print the time from the press of "Upgrade Now" to the verified outcome beside the protocol's floor, then exit (for benchmarks).</source>
        <extracomment>Help of q3dart: the --measure-upgrade option; "Upgrade Now" is the button's text (UpgradeNow).</extracomment>
        <translation>与 --simulate 一起使用：通过界面将控制器升级到最新的在线版本，打印从按下“立即升级”到验证结果的时间以及协议的下限，然后退出（用于基准测试）。</translation>
    </message>
    <message id="AppOptionTrustKey">
        <source>Trust this release key (base64 of a raw 32-byte Ed25519 public key); repeatable. With a trusted key an online release is installed only when its signature verifies.</source>
        <extracomment>Help of q3dart: the --trust-key option.</extracomment>
        <translation>信任此发布密钥（32 字节 Ed25519 原始公钥的 base64），可重复。有受信任的密钥时，在线版本仅在签名验证通过时才会安装。</translation>
    </message>
    <message id="AppOptionTrustRoot">
        <source>Trust this root key (base64 of a raw 32-byte Ed25519 public key, as keygen prints it); repeatable. The root certifies the release keys through the key set published beside the release list.</source>
        <extracomment>Help of q3dart: the --trust-root option; keygen is a command of q3dart-cli.</extracomment>
        <translation>信任此根密钥（32 字节 Ed25519 原始公钥的 base64，即 keygen 打印的内容），可重复。根密钥通过与版本列表一同发布的密钥集为发布密钥作证。</translation>
    </message>
    <message id="AppOptionCaFile">
        <source>Also trust the PEM certificate authorities of FILE for https.</source>
        <extracomment>Help of q3dart: the --ca-file option.</extracomment>
        <translation>对 https 也信任 FILE 中的 PEM 证书颁发机构。</translation>
    </message>
    <message id="AppArgumentArchives">
        <source>Release archives (.zip) to import.</source>
        <extracomment>Help of q3dart: the archives that may follow the options.</extracomment>
        <translation>要导入的版本压缩包（.zip）。</translation>
    </message>
    <message id="SimHelpDescription">
        <source>Serves simulated Q3 Dart controllers over TCP, one per listening address; the connection carries the controller's protocol bytes. Connect with: q3dart-cli --device tcp:HOST:PORT ...</source>
        <extracomment>Help of q3dart-sim: what the program is, under the usage line; the command is typed as it is.</extracomment>
        <translation>通过 TCP 提供模拟的 Q3 Dart 控制器，每个监听地址一个；连接中传输控制器的协议字节。连接方式：q3dart-cli --device tcp:HOST:PORT ...</translation>
    </message>
    <message id="SimOptionListen">
        <source>Address to listen on (port 0 picks a free port); repeated, one controller each.</source>
        <extracomment>Help of q3dart-sim: the --listen option.</extracomment>
        <translation>要监听的地址（端口 0 表示选择空闲端口）；可重复，每个一个控制器。</translation>
    </message>
    <message id="SimOptionCount">
        <source>Serve N independent controllers on consecutive ports from the one --listen.</source>
        <extracomment>Help of q3dart-sim: the --count option.</extracomment>
        <translation>从唯一的 --listen 开始，在连续的端口上提供 N 个独立的控制器。</translation>
    </message>
    <message id="SimOptionFault">
        <source>Give one controller a fault: INDEX (0 is the first) and refuse-checksum, refuse-end or silent-end, e.g. 2:refuse-checksum; repeatable.</source>
        <extracomment>Help of q3dart-sim: the --fault option; the fault names are typed as they are.</extracomment>
        <translation>给一个控制器注入故障：INDEX（0 为第一个）以及 refuse-checksum、refuse-end 或 silent-end，例如 2:refuse-checksum；可重复。</translation>
    </message>
    <message id="SimOptionVersions">
        <source>Boot loader, left and right versions (default 1.0-2.3-1.5).</source>
        <extracomment>Help of q3dart-sim: the --versions option.</extracomment>
        <translation>引导程序、左侧和右侧的版本（默认 1.0-2.3-1.5）。</translation>
    </message>
    <message id="SimOptionRestartDelay">
        <source>How long a restart takes (default 1000; -1 never comes back).</source>
        <extracomment>Help of q3dart-sim: the --restart-delay option.</extracomment>
        <translation>重启所需的时间（默认 1000；-1 表示不再回来）。</translation>
    </message>
    <message id="SimOptionReplyDelay">
        <source>Delay before every reply (default 0).</source>
        <extracomment>Help of q3dart-sim: the --reply-delay option.</extracomment>
        <translation>每次应答前的延迟（默认 0）。</translation>
    </message>
    <message id="SimOptionRefuseChecksum">
        <source>Refuse the right side's checksum command.</source>
        <extracomment>Help of q3dart-sim: the --refuse-checksum option.</extracomment>
        <translation>拒绝右侧的校验和命令。</translation>
    </message>
    <message id="SimOptionRefuseEnd">
        <source>Refuse the end commands.</source>
        <extracomment>Help of q3dart-sim: the --refuse-end option.</extracomment>
        <translation>拒绝结束命令。</translation>
    </message>
    <message id="SimOptionSilentEnd">
        <source>Never answer the end commands.</source>
        <extracomment>Help of q3dart-sim: the --silent-end option.</extracomment>
        <translation>从不应答结束命令。</translation>
    </message>
    <message id="SimOptionImpostor">
        <source>After a controller's first restart, another controller (Bluetooth address AABBCCDDEEFF, these versions) answers instead and the first never comes back; every message it receives is printed as "impostor received: HEX". B-L-R: every controller; INDEX:B-L-R: controller INDEX only (0 is the first), repeatable.</source>
        <extracomment>Help of q3dart-sim: the --impostor option; "impostor received: HEX" is printed as it is.</extracomment>
        <translation>控制器第一次重启后，由另一个控制器（蓝牙地址 AABBCCDDEEFF，使用这些版本）代为应答，原控制器不再回来；它收到的每条消息都打印为 "impostor received: HEX"。B-L-R：所有控制器；INDEX:B-L-R：仅控制器 INDEX（0 为第一个），可重复。</translation>
    </message>
    <message id="SimOptionFlashDir">
        <source>Write the flash contents (boot.bin, left.bin, right.bin) there whenever an image has been written; with several controllers, into DIR/INDEX.</source>
        <extracomment>Help of q3dart-sim: the --flash-dir option; the file names are typed as they are.</extracomment>
        <translation>每当写入一个映像时，将闪存内容（boot.bin、left.bin、right.bin）写到那里；有多个控制器时写入 DIR/INDEX。</translation>
    </message>
    <message id="SimUsageRestartDelay">
        <source>--restart-delay needs a number of milliseconds, or -1</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--restart-delay 需要一个毫秒数，或 -1</translation>
    </message>
    <message id="SimUsageReplyDelay">
        <source>--reply-delay needs a number of milliseconds</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--reply-delay 需要一个毫秒数</translation>
    </message>
    <message id="SimUsageListen">
        <source>--listen needs HOST:PORT with a numeric host address</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--listen 需要 HOST:PORT，主机为数字地址</translation>
    </message>
    <message id="SimUsageCount">
        <source>--count needs a number of controllers from 1 to %1</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are. %1 = the largest number of controllers.</extracomment>
        <translation>--count 需要 1 到 %1 之间的控制器数量</translation>
    </message>
    <message id="SimUsageCountListen">
        <source>--count needs exactly one --listen, the first of the consecutive ports</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--count 需要恰好一个 --listen，即连续端口中的第一个</translation>
    </message>
    <message id="SimUsageCountPorts">
        <source>--count runs past port 65535</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--count 超出了端口 65535</translation>
    </message>
    <message id="SimUsageTooManyListen">
        <source>--listen may be given for at most %1 controllers</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are. %1 = the largest number of controllers.</extracomment>
        <translation>--listen 最多只能为 %1 个控制器指定</translation>
    </message>
    <message id="SimUsageFault">
        <source>--fault needs INDEX:FAULT, INDEX a controller (0 is the first) and FAULT one of %1</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are. %1 = the fault names, separated by commas.</extracomment>
        <translation>--fault 需要 INDEX:FAULT，INDEX 为控制器（0 为第一个），FAULT 为以下之一：%1</translation>
    </message>
    <message id="SimUsageImpostor">
        <source>--impostor needs B-L-R, or INDEX:B-L-R for one controller (0 is the first), for example 1.0-2.2-2.3 or 2:1.0-2.2-2.3</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--impostor 需要 B-L-R，或针对单个控制器的 INDEX:B-L-R（0 为第一个），例如 1.0-2.2-2.3 或 2:1.0-2.2-2.3</translation>
    </message>
    <message id="SimUsageImpostorTwice">
        <source>--impostor names the same controllers twice</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--impostor 两次指定了相同的控制器</translation>
    </message>
    <message id="SimUsageVersions">
        <source>--versions needs B-L-R, for example 1.0-2.3-1.5</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--versions 需要 B-L-R，例如 1.0-2.3-1.5</translation>
    </message>
    <message id="SimUsageFlashDir">
        <source>--flash-dir %1 cannot be created</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are. %1 = the folder.</extracomment>
        <translation>无法创建 --flash-dir %1</translation>
    </message>
    <message id="SimCannotListen">
        <source>Cannot listen on %1: %2</source>
        <extracomment>q3dart-sim and q3dart-cli serve: a listener could not be opened. %1 = HOST:PORT, %2 = the system's reason.</extracomment>
        <translation>无法在 %1 上监听：%2</translation>
    </message>
    <message id="FolderNotWritable">
        <source>the folder %1 is read-only</source>
        <extracomment>Why a file could not be saved: the folder (%1) cannot be written.</extracomment>
        <translation>文件夹 %1 为只读</translation>
    </message>
    <message id="WriteFailedInFolder">
        <source>%1 (in the folder %2)</source>
        <extracomment>Why a file could not be saved: the system's reason (%1, e.g. No space left on device) and the folder (%2).</extracomment>
        <translation>%1（文件夹 %2）</translation>
    </message>
    <message id="CheckReportNotSavedBecause">
        <source>The check's report could not be saved: %1.</source>
        <extracomment>Controller check: the report file could not be written. %1 = why, with the folder.</extracomment>
        <translation>无法保存检测报告：%1。</translation>
    </message>
    <message id="TrustRecordUnreadable">
        <source>it cannot be read (%1)</source>
        <extracomment>Why the record of accepted release lists cannot be used. %1 = the system's reason.</extracomment>
        <translation>无法读取（%1）</translation>
    </message>
    <message id="TrustRecordNotJson">
        <source>it is not a JSON object</source>
        <extracomment>Why the record of accepted release lists cannot be used.</extracomment>
        <translation>它不是 JSON 对象</translation>
    </message>
    <message id="TrustRecordFieldInvalid">
        <source>its field %1 is not %2</source>
        <extracomment>Why the record of accepted release lists cannot be used. %1 = the field (server › field), %2 = what it must be.</extracomment>
        <translation>其字段 %1 不是%2</translation>
    </message>
    <message id="TrustRecordExpectsObject">
        <source>an object</source>
        <extracomment>What a field of the record of accepted release lists must be.</extracomment>
        <translation>对象</translation>
    </message>
    <message id="TrustRecordExpectsVersion">
        <source>a whole number from 0 to 2^53</source>
        <extracomment>What a field of the record of accepted release lists must be.</extracomment>
        <translation>0 到 2^53 之间的整数</translation>
    </message>
    <message id="TrustRecordExpectsKeys">
        <source>a list of base64 public keys</source>
        <extracomment>What a field of the record of accepted release lists must be.</extracomment>
        <translation>base64 公钥列表</translation>
    </message>
    <message id="TrustRecordExpectsText">
        <source>a text</source>
        <extracomment>What a field of the record of accepted release lists must be.</extracomment>
        <translation>文本</translation>
    </message>
    <message id="ReleaseTrustStateNotSaved">
        <source>The release list verified, but the record of accepted lists (%1) could not be saved: %2. The list was refused, so that an older one cannot be offered later.</source>
        <extracomment>Command line and upgrade screens: a verified release list could not be recorded; %1 = the record's path, %2 = why (e.g. No space left on device (in the folder …)).</extracomment>
        <translation>固件版本列表已通过验证，但无法保存已接受列表的记录（%1）：%2。为防止日后被提供更旧的列表，该列表已被拒绝。</translation>
    </message>
    <message id="MetadataNotJson">
        <source>it is not a JSON object</source>
        <extracomment>Why signed release metadata is malformed.</extracomment>
        <translation>它不是 JSON 对象</translation>
    </message>
    <message id="MetadataBadVersion">
        <source>%1 is not a whole number from 1 to 2^53</source>
        <extracomment>Why signed release metadata is malformed; %1 = the field.</extracomment>
        <translation>%1 不是 1 到 2^53 之间的整数</translation>
    </message>
    <message id="MetadataBadExpiry">
        <source>%1 is not a UTC time such as 2027-01-08T09:01:24Z</source>
        <extracomment>Why signed release metadata is malformed; %1 = the field.</extracomment>
        <translation>%1 不是 UTC 时间（例如 2027-01-08T09:01:24Z）</translation>
    </message>
    <message id="MetadataBadKeys">
        <source>%1 holds an entry that is not a public key with its key id</source>
        <extracomment>Why signed release metadata is malformed; %1 = the field.</extracomment>
        <translation>%1 中有条目不是带有密钥 ID 的公钥</translation>
    </message>
    <message id="ReleaseListMalformed">
        <source>The release list is signed by a trusted key, but malformed: %1. It was refused; please tell the server's operator.</source>
        <extracomment>Command line and upgrade screens: the release list is signed by a trusted key but cannot be read; %1 = what is wrong.</extracomment>
        <translation>固件版本列表由受信任的密钥签名，但格式有误：%1。该列表已被拒绝，请告知服务器的运营者。</translation>
    </message>
    <message id="ReleaseKeySetMalformed">
        <source>The release key set is signed by a trusted root key, but malformed: %1. The release list was refused; please tell the server's operator.</source>
        <extracomment>Command line and upgrade screens: the key set is signed by a trusted root but cannot be read; %1 = what is wrong.</extracomment>
        <translation>发布密钥集由受信任的根密钥签名，但格式有误：%1。固件版本列表已被拒绝，请告知服务器的运营者。</translation>
    </message>
    <message id="ReleaseRootInvalid">
        <source>The server's root document %1 is not signed both by the root key trusted now and by its own key, so the release list was refused.</source>
        <extracomment>Command line and upgrade screens: the server offers a next root document that does not verify; %1 = its version.</extracomment>
        <translation>服务器的根文档 %1 未同时由当前信任的根密钥及其自身的密钥签名，固件版本列表已被拒绝。</translation>
    </message>
    <message id="ReleaseListDeadline">
        <source>The release list did not arrive within %1 s. Check your network connection, or try again later.</source>
        <extracomment>Command line and upgrade screens: the release list (or its signed metadata) did not arrive in time; %1 = seconds.</extracomment>
        <translation>固件版本列表未能在 %1 秒内送达。请检查网络连接，或稍后再试。</translation>
    </message>
    <message id="DownloadTooSlow">
        <source>The download stayed slower than %1 KiB/s for %2 s and was stopped. Nothing was sent to the controller. Check your network connection and try again.</source>
        <extracomment>Upgrade failure: the download stayed below the rate floor; %1 = KiB per second, %2 = seconds.</extracomment>
        <translation>下载速度持续 %2 秒低于 %1 KiB/s，已停止。未向手柄发送任何内容。请检查网络连接后重试。</translation>
    </message>
    <message id="DownloadNotSignedArchive">
        <source>The downloaded archive is not the one the signed release list names (its SHA-256 differs): it may have been replaced on the way. It was deleted and nothing was sent to the controller.</source>
        <extracomment>Upgrade failure: the downloaded archive's SHA-256 is not the one the signed release list names.</extracomment>
        <translation>下载的压缩包不是已签名的固件版本列表所指定的那个（其 SHA-256 不同），可能在传输途中被替换。它已被删除，未向手柄发送任何内容。</translation>
    </message>
    <message id="ImageUnsendable">
        <source>The image %1 cannot be sent: %2. Nothing was sent to the controller.</source>
        <extracomment>Upgrade failure found before anything was sent: %1 = the image (its file name), %2 = why.</extracomment>
        <translation>无法发送固件映像 %1：%2。未向手柄发送任何内容。</translation>
    </message>
    <message id="ImageEmpty">
        <source>it is empty</source>
        <extracomment>Why an image cannot be sent.</extracomment>
        <translation>它是空的</translation>
    </message>
    <message id="ImageUnreadable">
        <source>it cannot be read</source>
        <extracomment>Why an image cannot be sent.</extracomment>
        <translation>无法读取</translation>
    </message>
    <message id="ImageTooLarge">
        <source>it is larger than the %1 bytes the controller takes</source>
        <extracomment>Why an image cannot be sent: %1 = the most bytes the controller takes.</extracomment>
        <translation>它超过了手柄可接收的 %1 字节</translation>
    </message>
    <message id="DownloadRecordNotSaved">
        <source>The record of downloads could not be saved: %1. The release will be downloaded again next time.</source>
        <extracomment>The record of downloads (downloads.plist) could not be saved; the run goes on. %1 = why.</extracomment>
        <translation>无法保存下载记录：%1。下次将重新下载该版本。</translation>
    </message>
    <message id="HistoryNotSaved">
        <source>The upgrade history (%1) could not be saved: %2. Its earlier records are unchanged.</source>
        <extracomment>The run's record could not be added to the upgrade history; the run's own outcome is unchanged. %1 = the history file, %2 = why (e.g. No space left on device (in the folder …)).</extracomment>
        <translation>无法保存升级记录（%1）：%2。此前的记录保持不变。</translation>
    </message>
    <message id="NoInstallableRelease">
        <source>The firmware server offers no release that may be installed: none is signed by a trusted key.</source>
        <extracomment>Command line: --latest found releases, but none may be installed (none is signed by a trusted key).</extracomment>
        <translation>固件服务器未提供可安装的版本：没有一个由受信任的密钥签名。</translation>
    </message>
    <message id="CliOptionListDeadline">
        <source>Give up on the release list (and its signed metadata) when a request takes longer than SECONDS (default 60).</source>
        <extracomment>q3dart-cli option --list-deadline SECONDS.</extracomment>
        <translation>当获取固件版本列表（及其签名元数据）的请求超过 SECONDS 秒时放弃（默认 60）。</translation>
    </message>
    <message id="CliOptionStallLimit">
        <source>Stop a release download that stays slower than 1 KiB/s for SECONDS (default 30).</source>
        <extracomment>q3dart-cli option --stall-limit SECONDS.</extracomment>
        <translation>当版本下载持续 SECONDS 秒低于 1 KiB/s 时停止（默认 30）。</translation>
    </message>
    <message id="CliSignRootHelp">
        <source>Write the site's next root document: one version above its current root, naming the new root key, signed by the current root key and by the new one. Clients that pin the first root follow the chain; sign key sets with the new root from then on.</source>
        <extracomment>q3dart-cli sign-root: what the command does.</extracomment>
        <translation>写入站点的下一个根文档：比当前根高一个版本，指明新的根密钥，并由当前根密钥和新根密钥共同签名。固定了第一个根的客户端会沿着该链跟进；此后请用新根签署密钥集。</translation>
    </message>
    <message id="CliSignRootCurrent">
        <source>The current root's private key (PEM): the pinned root, or the last one the site handed over to.</source>
        <extracomment>q3dart-cli sign-root option --root-key FILE.</extracomment>
        <translation>当前根的私钥（PEM）：即固定的根，或站点最近一次交接到的根。</translation>
    </message>
    <message id="CliSignRootNext">
        <source>The private key (PEM) of the root that takes over.</source>
        <extracomment>q3dart-cli sign-root option --new-root-key FILE.</extracomment>
        <translation>接任的根的私钥（PEM）。</translation>
    </message>
    <message id="OutcomeNothingInstalled">
        <source>Nothing was installed.</source>
        <extracomment>Said after why an upgrade did not complete, when no image was begun or the controller reports none of them.</extracomment>
        <translation>未安装任何内容。</translation>
    </message>
    <message id="OutcomeInstalled">
        <source>Installed: %1.</source>
        <extracomment>Said after why an upgrade did not complete: the parts the controller now runs of it, with their versions; %1 = e.g. 'Boot loader 2.1, Left side 2.2'.</extracomment>
        <translation>已安装：%1。</translation>
    </message>
    <message id="OutcomeNotInstalled">
        <source>Not installed: %1.</source>
        <extracomment>Said after OutcomeInstalled: the parts of the upgrade the controller does not run; %1 = e.g. 'Right side'.</extracomment>
        <translation>未安装：%1。</translation>
    </message>
    <message id="OutcomeUnknown">
        <source>The controller could not be read afterwards, so what it now runs is unknown: reconnect it and check its versions.</source>
        <extracomment>Said after why an upgrade did not complete, when an image was begun and the controller could not be asked afterwards.</extracomment>
        <translation>之后无法读取手柄，因此不清楚它现在运行的版本：请重新连接并检查其版本。</translation>
    </message>
    <message id="OutcomeWrittenUnknown">
        <source>The controller confirmed %1, but could not be read afterwards, so what it now runs is unknown: reconnect it and check its versions.</source>
        <extracomment>Said after why an upgrade did not complete, when the controller confirmed some images but could not be asked afterwards; %1 = e.g. 'Boot loader, Left side'.</extracomment>
        <translation>手柄已确认 %1，但之后无法读取，因此不清楚它现在运行的版本：请重新连接并检查其版本。</translation>
    </message>
    <message id="CliServeThrottle">
        <source>Send no faster than KIB KiB a second (fractions allowed), to watch a download on a slow link.</source>
        <extracomment>q3dart-cli serve option --throttle KIB.</extracomment>
        <translation>发送速度不超过每秒 KIB KiB（可为小数），用于观察慢速链路上的下载。</translation>
    </message>
    <message id="CliOptionNeedsKiB">
        <source>%1 needs a number of KiB a second above 0</source>
        <extracomment>Command line usage error: %1 = the option.</extracomment>
        <translation>%1 需要一个大于 0 的每秒 KiB 数</translation>
    </message>
    <message id="PhaseRestartLonger">
        <source>The controller is taking longer than usual to restart; keep it connected.</source>
        <extracomment>Upgrade screen step line: the controller restarts and has taken clearly longer than usual; the run still waits for it.</extracomment>
        <translation>手柄重启所用时间比平时长，请保持连接。</translation>
    </message>
    <message id="OtherControllerAttached">
        <source>Another controller is attached (%1), not the one the upgrade was for (%2). Nothing was sent to it; press the button again to install the release on this one.</source>
        <extracomment>Upgrade failure: Try again found another controller than the one the failed run was for; %1 = the one attached, %2 = the one the run was for (Bluetooth addresses).</extracomment>
        <translation>当前连接的是另一个手柄（%1），不是本次升级针对的手柄（%2）。未向其发送任何内容；再次按下按钮即可在此手柄上安装该版本。</translation>
    </message>
    <message id="OtherControllerConfirm">
        <source>Another controller is attached: %1. The upgrade that did not complete was for %2. Install %3 on %1?</source>
        <extracomment>Upgrade screen question before Try again sends anything to another controller than the failed run's; %1 = the attached one, %2 = the failed run's, %3 = the release.</extracomment>
        <translation>当前连接的是另一个手柄：%1。未完成的升级针对的是 %2。要在 %1 上安装 %3 吗？</translation>
    </message>
    <message id="InstallOnThisController">
        <source>Install on this controller</source>
        <extracomment>Upgrade screen: the button that confirms installing on another controller.</extracomment>
        <translation>在此手柄上安装</translation>
    </message>
    <message id="InstallOlderVersion">
        <source>Install older version %1</source>
        <extracomment>Upgrade screen: the button (and its question's confirm) when the picked release is older than the controller's in any part; %1 = the release.</extracomment>
        <translation>安装旧版本 %1</translation>
    </message>
    <message id="PlanOlder">
        <source>An older version than the controller's (%2): %1.</source>
        <extracomment>Upgrade screen plan, first line, when the picked release is older than the controller's in any part; %1 = the release, %2 = the controller's versions.</extracomment>
        <translation>比手柄当前版本（%2）更旧的版本：%1。</translation>
    </message>
    <message id="ControllerNotAttached">
        <source>No controller attached</source>
        <extracomment>Upgrade screen, in the controller's place: no controller is attached now.</extracomment>
        <translation>未连接手柄</translation>
    </message>
    <message id="StepFetch">
        <source>Download, check and unpack</source>
        <extracomment>Upgrade screen step list: the release is downloaded, its digest checked and it is unpacked.</extracomment>
        <translation>下载、校验并解压</translation>
    </message>
    <message id="StepFetchSize">
        <source>Download, check and unpack (%1)</source>
        <extracomment>Upgrade screen step list: the same with the archive's size; %1 = size.</extracomment>
        <translation>下载、校验并解压（%1）</translation>
    </message>
    <message id="StepImageThenRestart">
        <source>%1, then a restart</source>
        <extracomment>Upgrade screen plan and step list: an image after which the controller restarts; %1 = the image with its size.</extracomment>
        <translation>%1，随后重启</translation>
    </message>
    <message id="PlanSendsSizesLater">
        <source>Will send (sizes known after the download)</source>
        <extracomment>Upgrade screen: caption above the images a run will send, when their sizes are known only after the download.</extracomment>
        <translation>将发送（下载后可知大小）</translation>
    </message>
    <message id="SimOptionSplit">
        <source>Every reply leaves in pieces of N bytes (1 to 64), a few milliseconds apart, as a serial adapter hands them over.</source>
        <extracomment>Help of q3dart-sim: the --split option.</extracomment>
        <translation>每条应答分成每段 N 字节（1 至 64）发出，段间相隔几毫秒，如同串口适配器转交数据那样。</translation>
    </message>
    <message id="SimOptionGlue">
        <source>Every reply waits up to 50 ms for the one after it and leaves glued to it in one piece (with --duplicate: each reply and its copy).</source>
        <extracomment>Help of q3dart-sim: the --glue option.</extracomment>
        <translation>每条应答最多等待 50 毫秒，与其后的应答粘在一起一次发出（与 --duplicate 同用时：每条应答与其副本）。</translation>
    </message>
    <message id="SimOptionDuplicate">
        <source>Every reply is sent twice.</source>
        <extracomment>Help of q3dart-sim: the --duplicate option.</extracomment>
        <translation>每条应答发送两次。</translation>
    </message>
    <message id="SimOptionStrayByte">
        <source>A byte of line noise goes out before the first reply of every attachment.</source>
        <extracomment>Help of q3dart-sim: the --stray-byte option.</extracomment>
        <translation>每次连接后的第一条应答之前先发出一个线路噪声字节。</translation>
    </message>
    <message id="SimUsageSplit">
        <source>--split needs a number of bytes from 1 to 64</source>
        <extracomment>Usage error of q3dart-sim; the option name is typed as it is.</extracomment>
        <translation>--split 需要 1 至 64 之间的字节数</translation>
    </message>
    <message id="SerialPortPermissionDenied">
        <source>Cannot open %1: permission denied. Install the udev rule of the q3dart package (/lib/udev/rules.d/70-q3dart.rules gives the logged-in user the controller's port) and plug the controller in again, or add yourself to the group "%2" (sudo usermod -aG %2 $USER) and log in again.</source>
        <extracomment>Shown when a serial port (the controller's) cannot be opened for want of permission. %1: the port's path, %2: the group that owns it. The command lines and file names are typed as they are.</extracomment>
        <translation>无法打开 %1：权限不足。请安装 q3dart 软件包的 udev 规则（/lib/udev/rules.d/70-q3dart.rules 让当前登录的用户可以使用控制器的端口），然后重新插入控制器；或者把自己加入用户组 "%2"（sudo usermod -aG %2 $USER），然后重新登录。</translation>
    </message>
    <message id="UsbDeviceNotDeclared">
        <source>%1: not a declared controller</source>
        <extracomment>Why a USB serial device was not opened. %1: its vendor and product id, e.g. 2341:0043.</extracomment>
        <translation>%1：不是已声明的控制器</translation>
    </message>
    <message id="NoDeclaredUsbDevice">
        <source>no USB serial device is a declared controller (skipped: %1); add the controller's identity with --usb-id VID:PID or in ~/.config/q3dart/q3dart.conf</source>
        <extracomment>Why no controller was found among the USB serial devices. %1: the devices skipped, each with its reason; --usb-id and the file name are typed as they are.</extracomment>
        <translation>没有一个 USB 串口设备是已声明的控制器（已跳过：%1）；请用 --usb-id VID:PID 或在 ~/.config/q3dart/q3dart.conf 中添加控制器的标识</translation>
    </message>
    <message id="CliOptionUsbId">
        <source>Also look for the controller among USB serial devices with this vendor and product id (hexadecimal, e.g. 2341:0043) when no device is named; repeatable.</source>
        <extracomment>Help of q3dart-cli: the --usb-id option.</extracomment>
        <translation>未指定设备时，也在具有此厂商和产品 ID（十六进制，例如 2341:0043）的 USB 串口设备中查找控制器；可重复。</translation>
    </message>
    <message id="CliOptionNeedsUsbId">
        <source>%1 needs a vendor and product id in hexadecimal, VID:PID (e.g. 2341:0043), not "%2"</source>
        <extracomment>Usage error of q3dart-cli. %1: the option (--usb-id), %2: the value given.</extracomment>
        <translation>%1 需要十六进制的厂商和产品 ID，格式为 VID:PID（例如 2341:0043），而不是 "%2"</translation>
    </message>
    <message id="ConfigurationUsbIdInvalid">
        <source>%1: "%2" is not a USB identity (VID:PID in hexadecimal); it is left out</source>
        <extracomment>Warning on standard error. %1: the configuration file, %2: the entry that is no USB identity.</extracomment>
        <translation>%1："%2" 不是 USB 标识（十六进制的 VID:PID），已忽略</translation>
    </message>
    <message id="CliOptionRecord">
        <source>Write every message written and read on the link, with its direction and time, to FILE as JSON lines: a recording that q3dart-sim --replay answers from.</source>
        <extracomment>Help of q3dart-cli: the --record option.</extracomment>
        <translation>将链路上写出和读入的每条消息连同方向和时间以 JSON 行写入 FILE：一份可由 q3dart-sim --replay 回放应答的录制。</translation>
    </message>
    <message id="RecordFileNotWritten">
        <source>Cannot write the recording %1: %2</source>
        <extracomment>Error of q3dart-cli --record. %1: the file, %2: the system's reason.</extracomment>
        <translation>无法写入录制文件 %1：%2</translation>
    </message>
    <message id="SimOptionReplay">
        <source>Answer as the controller recorded in FILE (q3dart-cli --record) did, restarting where it restarted; the first request that differs from the recording is printed as "replay: request N differs …" and nothing is answered after it.</source>
        <extracomment>Help of q3dart-sim: the --replay option; q3dart-cli --record is typed as it is.</extracomment>
        <translation>按 FILE 中录制的控制器（q3dart-cli --record）那样应答，并在它重启的地方重启；与录制不同的第一个请求打印为 "replay: request N differs …"，此后不再应答。</translation>
    </message>
    <message id="SimUsageReplayOne">
        <source>--replay serves one recorded controller: give one --listen and no --count</source>
        <extracomment>Usage error of q3dart-sim; option names are typed as they are.</extracomment>
        <translation>--replay 只提供一个录制的控制器：请只给一个 --listen，不要用 --count</translation>
    </message>
    <message id="SimReplayUnreadable">
        <source>%1 cannot be replayed: %2</source>
        <extracomment>Error of q3dart-sim --replay. %1: the file, %2: why it cannot be read.</extracomment>
        <translation>无法回放 %1：%2</translation>
    </message>
    <message id="CliSimulateNotice">
        <source>Simulated controller: it and the firmware it holds end with this command.</source>
        <extracomment>Command-line, standard error, once: with --simulate, the simulated controller and what it holds exist only while the command runs.</extracomment>
        <translation>模拟手柄：模拟手柄及其固件随本命令结束而消失。</translation>
    </message>
    <message id="CliSimulateNoticeRecords">
        <source>Its records (history, downloads) are thrown away too; give --documents DIR to keep them.</source>
        <extracomment>Command-line, standard error, after CliSimulateNotice when no --documents was given: the records go too.</extracomment>
        <translation>其记录（升级历史、下载）也会被丢弃；如需保留，请指定 --documents DIR。</translation>
    </message>
    <message id="CliReleasesJson">
        <source>One JSON array of the releases: source (local or online), version, notes, path, date as given, release_date (YYYY-MM-DD) and, online, signature.</source>
        <extracomment>Command-line help: releases --json.</extracomment>
        <translation>以一个 JSON 数组输出固件：source（local 或 online）、version、notes、path、原样的 date、release_date（YYYY-MM-DD），在线固件另有 signature。</translation>
    </message>
    <message id="CliReleasesLocalHeading">
        <source>Local releases:</source>
        <extracomment>Command-line: releases without --local or --online, the heading above the local releases.</extracomment>
        <translation>本地固件：</translation>
    </message>
    <message id="CliReleasesOnlineHeading">
        <source>Online releases:</source>
        <extracomment>Command-line: releases without --local or --online, the heading above the online releases.</extracomment>
        <translation>在线固件：</translation>
    </message>
    <message id="CliReleasesNoneLocal">
        <source>No local releases. Import one with: q3dart-cli import ARCHIVE.zip</source>
        <extracomment>Command-line: releases, no local release. Standard error with --local, under its heading otherwise.</extracomment>
        <translation>没有本地固件。导入固件：q3dart-cli import ARCHIVE.zip</translation>
    </message>
    <message id="CliReleasesNoneOnline">
        <source>The server lists no releases.</source>
        <extracomment>Command-line: releases, the server lists no release. Standard error with --online, under its heading otherwise.</extracomment>
        <translation>服务器上没有固件。</translation>
    </message>
    <message id="CliRestartCountdown">
        <source>%1 (gives up in %2 s)</source>
        <extracomment>Command-line, beside the progress bar on a terminal while the controller restarts. %1 = PhaseRestart or PhaseRestartLonger; %2 = whole seconds until the run gives up on the controller.</extracomment>
        <translation>%1（%2 秒后放弃等待）</translation>
    </message>
    <message id="LanguageUnavailable">
        <source>--language: the app has no texts in "%1"; it speaks %2</source>
        <extracomment>Application command line: --language names a language the app has no texts in. %1 = what was given; %2 = the languages it has, joined by ListSeparator.</extracomment>
        <translation>--language：应用没有“%1”的文本；可用语言为 %2</translation>
    </message>
    <message id="ReleaseImported">
        <source>Release %1 imported</source>
        <extracomment>Toast after a release archive was imported. %1 = the release's version.</extracomment>
        <translation>已导入固件版本 %1</translation>
    </message>
    <message id="UnzippingFile">
        <source>Unzipping %1…</source>
        <extracomment>Toast while release archives are imported. %1 = the archive's file name, or several joined by ListSeparator.</extracomment>
        <translation>正在解压 %1……</translation>
    </message>
    <message id="EmptyLocalFirmware">
        <source>No releases on this computer yet. Choose Import… to add a release archive (.zip), or drop one on the window.</source>
        <extracomment>Firmware list overlay: the local list when no release has been imported yet; says how to add one. The button is ImportReleases.</extracomment>
        <translation>这台电脑上还没有固件版本。点击“导入…”添加版本压缩包（.zip），或将压缩包拖到窗口上。</translation>
    </message>
    <message id="ImportReleases">
        <source>Import…</source>
        <extracomment>Firmware list overlay: the local list's button that opens a file dialog for release archives.</extracomment>
        <translation>导入…</translation>
    </message>
    <message id="ImportReleasesDescription">
        <source>Add release archives (.zip) from this computer</source>
        <extracomment>Firmware list overlay: what the import button does, for assistive technology.</extracomment>
        <translation>从这台电脑添加版本压缩包（.zip）</translation>
    </message>
    <message id="ImportReleasesTitle">
        <source>Import Releases</source>
        <extracomment>Firmware list overlay: title of the file dialog that chooses release archives to import.</extracomment>
        <translation>导入固件版本</translation>
    </message>
    <message id="ReleaseArchives">
        <source>Release archives</source>
        <extracomment>File dialog: name of the file type of release archives (followed by the pattern *.zip).</extracomment>
        <translation>版本压缩包</translation>
    </message>
    <message id="ReleaseImportedOn">
        <source>Imported %1</source>
        <extracomment>Firmware list overlay: a local release's date, the day it was imported. %1 = the date (2021-03-09).</extracomment>
        <translation>导入于 %1</translation>
    </message>
    <message id="ReleaseDatedOn">
        <source>Released %1</source>
        <extracomment>Firmware list overlay: an online release's release date. %1 = the date (2021-03-09).</extracomment>
        <translation>发布于 %1</translation>
    </message>
    <message id="ReleaseMarkInstalled">
        <source>Installed</source>
        <extracomment>Firmware list overlay: mark on the release the attached controller already runs.</extracomment>
        <translation>已安装</translation>
    </message>
    <message id="ReleaseListLoading">
        <source>Asking the firmware server…</source>
        <extracomment>Firmware list overlay: the online list while the firmware server is asked for its releases.</extracomment>
        <translation>正在向固件服务器查询……</translation>
    </message>
    <message id="WebPageOfflineNote">
        <source>The site cannot be reached, so this is the copy that came with the app.</source>
        <extracomment>Web page screens: the note above the copy of the page that ships with the app, shown when the site cannot be reached; a Retry button follows it.</extracomment>
        <translation>无法访问网站，以下是应用自带的页面副本。</translation>
    </message>
    <message id="WebPageRetryDescription">
        <source>Load the page from the site again</source>
        <extracomment>Web page screens: what the Retry button beside the offline note does, for assistive technology.</extracomment>
        <translation>重新从网站加载页面</translation>
    </message>
    <message id="NoBrowserPrompt">
        <source>No web browser could be opened. Copy the link below and open it in a browser.</source>
        <extracomment>Dialog when no web browser could be started for a link; the link follows, with a button that copies it.</extracomment>
        <translation>无法打开网页浏览器。请复制下面的链接，在浏览器中打开。</translation>
    </message>
    <message id="CopyLink">
        <source>Copy Link</source>
        <extracomment>Button that copies a link to the clipboard.</extracomment>
        <translation>复制链接</translation>
    </message>
    <message id="OpenStoreItemPrompt">
        <source>Open the store page of “%1” in your web browser?</source>
        <extracomment>Games page: question before a store link opens in the web browser. %1 = the game's name.</extracomment>
        <translation>要在网页浏览器中打开“%1”的商店页面吗？</translation>
    </message>
    <message id="OpenStoreItemAddress">
        <source>It opens %1</source>
        <extracomment>Games page: under the question before a store link opens, the address that opens. %1 = the address.</extracomment>
        <translation>将打开 %1</translation>
    </message>
    <message id="OpenInBrowser">
        <source>Open in Browser</source>
        <extracomment>Button that opens a link in the web browser.</extracomment>
        <translation>在浏览器中打开</translation>
    </message>
    <message id="ControllerTypeVirtual">
        <source>virtual</source>
        <extracomment>Key test: the kind of a virtual game controller (the simulator's, the demo's), in the identity line after its name.</extracomment>
        <translation>虚拟</translation>
    </message>
    <message id="CheckGravity">
        <source>1 g</source>
        <extracomment>Stick check result: the accelerometer's reading at rest (gravity).</extracomment>
        <translation>1 g</translation>
    </message>
    <message id="CheckGravityLine">
        <source>Accelerometer at rest: %1 m/s² (%2)</source>
        <extracomment>Controller check report: the accelerometer at rest. %1 = m/s²; %2 = verdict.</extracomment>
        <translation>加速度计静止读数：%1 m/s²（%2）</translation>
    </message>
    <message id="CheckGyroBiasLine">
        <source>Gyroscope bias: x %1, y %2, z %3 °/s; started over %4 times</source>
        <extracomment>Controller check report: the gyroscope's bias per axis. %1-%3 = degrees per second; %4 = how often a movement restarted the calibration.</extracomment>
        <translation>陀螺仪偏差：x %1、y %2、z %3 °/s；重新开始 %4 次</translation>
    </message>
    <message id="CheckGyroDrift">
        <source>drift</source>
        <extracomment>Stick check result: row label of the gyroscope's drift at rest.</extracomment>
        <translation>漂移</translation>
    </message>
    <message id="CheckGyroLine">
        <source>Gyroscope at rest: drift %1 °/s (%2), noise %3 °/s (%4)</source>
        <extracomment>Controller check report: the gyroscope at rest. %1 = drift in °/s; %2 = its verdict; %3 = noise in °/s; %4 = its verdict.</extracomment>
        <translation>陀螺仪静止：漂移 %1 °/s（%2），噪声 %3 °/s（%4）</translation>
    </message>
    <message id="CheckGyroNoise">
        <source>noise</source>
        <extracomment>Stick check result: row label of the gyroscope's noise at rest.</extracomment>
        <translation>噪声</translation>
    </message>
    <message id="CheckGyroNotCalibrated">
        <source>Gyroscope: not calibrated (the controller did not lie still long enough)</source>
        <extracomment>Controller check report: the gyroscope could not be calibrated.</extracomment>
        <translation>陀螺仪：未校准（手柄静止的时间不够）</translation>
    </message>
    <message id="CheckPromptMotion">
        <source>Lay the controller down on a flat surface and let go until the check ends</source>
        <extracomment>Command-line stick check: the prompt of the gyroscope calibration step.</extracomment>
        <translation>将手柄平放并松开，直到检测结束</translation>
    </message>
    <message id="CheckPromptMotionMoved">
        <source>It moved: lay it down and let go again: %1 s</source>
        <extracomment>Stick check: the controller moved during the gyroscope calibration. %1 = seconds left.</extracomment>
        <translation>手柄被移动：请重新放下并松开：%1 秒</translation>
    </message>
    <message id="CheckPromptMotionSeconds">
        <source>Lay the controller down and let go: %1 s</source>
        <extracomment>Stick check: the prompt of the gyroscope calibration step. %1 = seconds left.</extracomment>
        <translation>将手柄平放并松开：%1 秒</translation>
    </message>
    <message id="CheckRatePoll">
        <source>%1 (poll)</source>
        <extracomment>Stick check result: a report rate timed by our poll. %1 = the rate and jitter.</extracomment>
        <translation>%1（轮询）</translation>
    </message>
    <message id="CheckSensorRateLine">
        <source>Motion sensors: gyroscope %1, accelerometer %2 samples per second</source>
        <extracomment>Controller check report: the motion sensors' measured rates. %1, %2 = samples per second.</extracomment>
        <translation>运动传感器：陀螺仪每秒 %1 次，加速度计每秒 %2 次</translation>
    </message>
    <message id="CliGamepadsMapping">
        <source>print each controller's mapping line in SDL's format instead (a # comment for one without)</source>
        <extracomment>Command-line help of gamepads --mapping.</extracomment>
        <translation>改为输出每个手柄的 SDL 格式映射行（没有映射的输出一行 # 注释）</translation>
    </message>
    <message id="CliLightInvalid">
        <source>--light takes a colour as six hexadecimal digits, RRGGBB</source>
        <extracomment>Command-line usage error of rumble --light.</extracomment>
        <translation>--light 需要六位十六进制颜色 RRGGBB</translation>
    </message>
    <message id="CliRumbleHigh">
        <source>run the high-frequency motor alone at strength S (0 to 1)</source>
        <extracomment>Command-line help of rumble --high.</extracomment>
        <translation>仅以强度 S（0 到 1）运行高频马达</translation>
    </message>
    <message id="CliRumbleLeftTrigger">
        <source>run the left trigger's motor at strength S (0 to 1)</source>
        <extracomment>Command-line help of rumble --left-trigger.</extracomment>
        <translation>以强度 S（0 到 1）运行左扳机马达</translation>
    </message>
    <message id="CliRumbleLight">
        <source>set the controller's light to this colour</source>
        <extracomment>Command-line help of rumble --light.</extracomment>
        <translation>将手柄灯光设置为此颜色</translation>
    </message>
    <message id="CliRumbleLow">
        <source>run the low-frequency motor alone at strength S (0 to 1)</source>
        <extracomment>Command-line help of rumble --low.</extracomment>
        <translation>仅以强度 S（0 到 1）运行低频马达</translation>
    </message>
    <message id="CliRumbleRightTrigger">
        <source>run the right trigger's motor at strength S (0 to 1)</source>
        <extracomment>Command-line help of rumble --right-trigger.</extracomment>
        <translation>以强度 S（0 到 1）运行右扳机马达</translation>
    </message>
    <message id="CliStrengthRange">
        <source>%1 takes a strength from 0 to 1</source>
        <extracomment>Command-line usage error: a motor strength out of range. %1 = option.</extracomment>
        <translation>%1 需要 0 到 1 之间的强度</translation>
    </message>
    <message id="ClockClosed">
        <source>%1 stopped delivering events (%2)</source>
        <extracomment>Why our poll times a controller's reports: its event device stopped. %1 = node; %2 = the system's reason.</extracomment>
        <translation>%1 已停止提供事件（%2）</translation>
    </message>
    <message id="ClockNoEventDevice">
        <source>no event device of the kernel was found for this controller</source>
        <extracomment>Why our poll times a controller's reports: no kernel event device was found for it.</extracomment>
        <translation>未找到此手柄的内核事件设备</translation>
    </message>
    <message id="ClockNoPermission">
        <source>no permission to read %1</source>
        <extracomment>Why our poll times a controller's reports: its event device may not be read. %1 = node.</extracomment>
        <translation>没有读取 %1 的权限</translation>
    </message>
    <message id="ClockNodeMissing">
        <source>%1 does not exist</source>
        <extracomment>Why our poll times a controller's reports: its event device node does not exist. %1 = node.</extracomment>
        <translation>%1 不存在</translation>
    </message>
    <message id="ClockSeveralEventDevices">
        <source>several event devices match this controller</source>
        <extracomment>Why our poll times a controller's reports: several kernel event devices match it.</extracomment>
        <translation>有多个事件设备与此手柄匹配</translation>
    </message>
    <message id="ClockUnreadable">
        <source>%1 cannot be read (%2)</source>
        <extracomment>Why our poll times a controller's reports: its event device cannot be read. %1 = node; %2 = the system's reason.</extracomment>
        <translation>无法读取 %1（%2）</translation>
    </message>
    <message id="EventStreamEnded">
        <source>the stream ended</source>
        <extracomment>The system's reason when a controller's event stream ended.</extracomment>
        <translation>数据流已结束</translation>
    </message>
    <message id="GamepadHasNoMapping">
        <source>%1 (%2) has no mapping</source>
        <extracomment>Command-line gamepads --mapping: a controller without a mapping. %1 = name; %2 = GUID.</extracomment>
        <translation>%1（%2）没有映射</translation>
    </message>
    <message id="LightOtherColour">
        <source>Other colour…</source>
        <extracomment>Key test motors page: opens a colour dialog for the controller's light.</extracomment>
        <translation>其他颜色…</translation>
    </message>
    <message id="LightSet">
        <source>Light of %1 set to %2</source>
        <extracomment>Command-line rumble --light: the light was set. %1 = controller; %2 = colour.</extracomment>
        <translation>%1 的灯光已设为 %2</translation>
    </message>
    <message id="LightSwatch">
        <source>Light colour %1</source>
        <extracomment>Key test: accessible name of a colour swatch for the light. %1 = colour.</extracomment>
        <translation>灯光颜色 %1</translation>
    </message>
    <message id="MapButtons">
        <source>Map buttons</source>
        <extracomment>Key test: button that starts the mapping editor for a controller without mapping.</extracomment>
        <translation>映射按键</translation>
    </message>
    <message id="MappingBack">
        <source>Back</source>
        <extracomment>Mapping editor: go back to the element before.</extracomment>
        <translation>上一步</translation>
    </message>
    <message id="MappingControllerLeft">
        <source>%1 was unplugged; the mapping was not saved.</source>
        <extracomment>Mapping editor: the controller was unplugged. %1 = controller name.</extracomment>
        <translation>%1 已拔出；映射未保存。</translation>
    </message>
    <message id="MappingDone">
        <source>Every element has been asked for: save the mapping, or go back to change one.</source>
        <extracomment>Mapping editor: every element has been asked for.</extracomment>
        <translation>所有元素都已询问完毕：请保存映射，或返回修改。</translation>
    </message>
    <message id="MappingFileIsAFolder">
        <source>it is a folder, not a file</source>
        <extracomment>Why the mapping file cannot be used: it is a folder.</extracomment>
        <translation>它是文件夹而不是文件</translation>
    </message>
    <message id="MappingFolderNotMade">
        <source>the folder %1 could not be made</source>
        <extracomment>Why the mapping file cannot be written: its folder cannot be made. %1 = folder.</extracomment>
        <translation>无法创建文件夹 %1</translation>
    </message>
    <message id="MappingLeftStickX">
        <source>Left stick ↔</source>
        <extracomment>Mapping editor: element name of the left stick's horizontal axis.</extracomment>
        <translation>左摇杆 ↔</translation>
    </message>
    <message id="MappingLeftStickY">
        <source>Left stick ↕</source>
        <extracomment>Mapping editor: element name of the left stick's vertical axis.</extracomment>
        <translation>左摇杆 ↕</translation>
    </message>
    <message id="MappingRightStickX">
        <source>Right stick ↔</source>
        <extracomment>Mapping editor: element name of the right stick's horizontal axis.</extracomment>
        <translation>右摇杆 ↔</translation>
    </message>
    <message id="MappingRightStickY">
        <source>Right stick ↕</source>
        <extracomment>Mapping editor: element name of the right stick's vertical axis.</extracomment>
        <translation>右摇杆 ↕</translation>
    </message>
    <message id="MappingLetGo">
        <source>Taken: let go</source>
        <extracomment>Mapping editor: an input was taken; the user is to let it go.</extracomment>
        <translation>已记录：请松开</translation>
    </message>
    <message id="MappingNotSaved">
        <source>The mapping could not be added to %1: %2. It applies until the program ends.</source>
        <extracomment>The mapping could not be kept in the mapping file. %1 = file; %2 = reason.</extracomment>
        <translation>无法将映射添加到 %1：%2。映射在程序结束前有效。</translation>
    </message>
    <message id="MappingNotTaken">
        <source>%1 cannot take a mapping; copy the line below into a mapping file instead.</source>
        <extracomment>Mapping editor: the controller's source cannot take a mapping. %1 = controller.</extracomment>
        <translation>%1 无法接受映射；请将下面的行复制到映射文件中。</translation>
    </message>
    <message id="MappingPadDirection">
        <source>pad %1</source>
        <extracomment>Mapping editor: element name of a direction of the pad. %1 = direction.</extracomment>
        <translation>方向键%1</translation>
    </message>
    <message id="MappingPress">
        <source>Press %1</source>
        <extracomment>Mapping editor: the prompt for a button. %1 = element.</extracomment>
        <translation>请按 %1</translation>
    </message>
    <message id="MappingPushLeftStickRight">
        <source>Push the left stick to the right</source>
        <extracomment>Mapping editor: the prompt for the left stick's horizontal axis.</extracomment>
        <translation>将左摇杆推向右</translation>
    </message>
    <message id="MappingPushLeftStickUp">
        <source>Push the left stick up</source>
        <extracomment>Mapping editor: the prompt for the left stick's vertical axis.</extracomment>
        <translation>将左摇杆推向上</translation>
    </message>
    <message id="MappingPushRightStickRight">
        <source>Push the right stick to the right</source>
        <extracomment>Mapping editor: the prompt for the right stick's horizontal axis.</extracomment>
        <translation>将右摇杆推向右</translation>
    </message>
    <message id="MappingPushRightStickUp">
        <source>Push the right stick up</source>
        <extracomment>Mapping editor: the prompt for the right stick's vertical axis.</extracomment>
        <translation>将右摇杆推向上</translation>
    </message>
    <message id="MappingRefused">
        <source>The controller library refused the mapping.</source>
        <extracomment>The controller library refused a mapping line.</extracomment>
        <translation>手柄库拒绝了该映射。</translation>
    </message>
    <message id="MappingSave">
        <source>Save</source>
        <extracomment>Mapping editor: keeps the mapping.</extracomment>
        <translation>保存</translation>
    </message>
    <message id="MappingSaved">
        <source>%1 is mapped: its mapping is kept in the mapping file.</source>
        <extracomment>Mapping editor: the mapping was kept and applies. %1 = controller.</extracomment>
        <translation>%1 已映射：映射已保存到映射文件中。</translation>
    </message>
    <message id="MappingSkip">
        <source>Skip</source>
        <extracomment>Mapping editor: leaves the element asked for unmapped.</extracomment>
        <translation>跳过</translation>
    </message>
    <message id="MappingTitle">
        <source>Mapping %1</source>
        <extracomment>Mapping editor: caption. %1 = controller.</extracomment>
        <translation>映射 %1</translation>
    </message>
    <message id="MotionAcceleration">
        <source>%1 m/s²</source>
        <extracomment>A figure in metres per second squared. %1 = number.</extracomment>
        <translation>%1 m/s²</translation>
    </message>
    <message id="MotionAccelerometer">
        <source>Accelerometer (m/s²)</source>
        <extracomment>Key test motion page: the accelerometer's title.</extracomment>
        <translation>加速度计（m/s²）</translation>
    </message>
    <message id="MotionCalibration">
        <source>At rest</source>
        <extracomment>Key test motion page: title of the gyroscope's calibration.</extracomment>
        <translation>静止校准</translation>
    </message>
    <message id="MotionDegrees">
        <source>%1 °/s</source>
        <extracomment>A figure in degrees per second. %1 = number.</extracomment>
        <translation>%1 °/s</translation>
    </message>
    <message id="MotionDrift">
        <source>drift %1 °/s</source>
        <extracomment>Key test motion page: the gyroscope's drift. %1 = degrees per second.</extracomment>
        <translation>漂移 %1 °/s</translation>
    </message>
    <message id="MotionGravity">
        <source>1 g reads %1 m/s²</source>
        <extracomment>Key test motion page: the accelerometer at rest. %1 = m/s².</extracomment>
        <translation>1 g 读数 %1 m/s²</translation>
    </message>
    <message id="MotionGyroscope">
        <source>Gyroscope (°/s)</source>
        <extracomment>Key test: the gyroscope's title.</extracomment>
        <translation>陀螺仪（°/s）</translation>
    </message>
    <message id="MotionNoise">
        <source>noise %1 °/s</source>
        <extracomment>Key test motion page: the gyroscope's noise. %1 = degrees per second.</extracomment>
        <translation>噪声 %1 °/s</translation>
    </message>
    <message id="MotionNotCalibrated">
        <source>Check sticks calibrates the gyroscope: it ends with the controller lying still.</source>
        <extracomment>Key test motion page: no calibration yet.</extracomment>
        <translation>“检测摇杆”会校准陀螺仪：最后一步需将手柄静置。</translation>
    </message>
    <message id="MotionRate">
        <source>%1 per second</source>
        <extracomment>Key test motion page: a sensor's measured rate. %1 = samples per second.</extracomment>
        <translation>每秒 %1 次</translation>
    </message>
    <message id="MotionRateStated">
        <source>%1 per second (states %2)</source>
        <extracomment>Key test motion page: a sensor's measured and stated rate. %1 = measured; %2 = stated, per second.</extracomment>
        <translation>每秒 %1 次（标称 %2）</translation>
    </message>
    <message id="MotionTab">
        <source>Motion</source>
        <extracomment>Key test: page of the motion sensors.</extracomment>
        <translation>运动</translation>
    </message>
    <message id="MotorHigh">
        <source>high</source>
        <extracomment>Command-line rumble: the high-frequency motor.</extracomment>
        <translation>高频</translation>
    </message>
    <message id="MotorHighLabel">
        <source>High frequency</source>
        <extracomment>Key test motors page: the high-frequency motor.</extracomment>
        <translation>高频马达</translation>
    </message>
    <message id="MotorLeftTrigger">
        <source>left trigger</source>
        <extracomment>Command-line rumble: the left trigger's motor.</extracomment>
        <translation>左扳机</translation>
    </message>
    <message id="MotorLeftTriggerLabel">
        <source>Left trigger</source>
        <extracomment>Key test motors page: the left trigger's motor.</extracomment>
        <translation>左扳机</translation>
    </message>
    <message id="MotorLow">
        <source>low</source>
        <extracomment>Command-line rumble: the low-frequency motor.</extracomment>
        <translation>低频</translation>
    </message>
    <message id="MotorLowLabel">
        <source>Low frequency</source>
        <extracomment>Key test motors page: the low-frequency motor.</extracomment>
        <translation>低频马达</translation>
    </message>
    <message id="MotorRightTrigger">
        <source>right trigger</source>
        <extracomment>Command-line rumble: the right trigger's motor.</extracomment>
        <translation>右扳机</translation>
    </message>
    <message id="MotorRightTriggerLabel">
        <source>Right trigger</source>
        <extracomment>Key test motors page: the right trigger's motor.</extracomment>
        <translation>右扳机</translation>
    </message>
    <message id="MotorRun">
        <source>Run</source>
        <extracomment>Key test motors page: runs one motor on its own.</extracomment>
        <translation>运行</translation>
    </message>
    <message id="MotorStrength">
        <source>%1 %2</source>
        <extracomment>Command-line rumble: one motor and its strength. %1 = motor; %2 = strength.</extracomment>
        <translation>%1 %2</translation>
    </message>
    <message id="MotorsTab">
        <source>Motors</source>
        <extracomment>Key test: page of the motors and the light.</extracomment>
        <translation>马达</translation>
    </message>
    <message id="NoLightController">
        <source>No connected game controller has a light.</source>
        <extracomment>Command-line rumble --light: no controller has a light.</extracomment>
        <translation>没有已连接的手柄带有灯光。</translation>
    </message>
    <message id="NoTouchpad">
        <source>This controller has no touchpad.</source>
        <extracomment>Key test touchpad page: the controller has no touchpad.</extracomment>
        <translation>此手柄没有触摸板。</translation>
    </message>
    <message id="NoTriggerRumbleController">
        <source>No connected game controller has trigger motors.</source>
        <extracomment>Command-line rumble: no controller has trigger motors.</extracomment>
        <translation>没有已连接的手柄带有扳机马达。</translation>
    </message>
    <message id="ReportClockDevice">
        <source>Report times: the controller's own</source>
        <extracomment>Key test: the controller's reports are timed by its own clock.</extracomment>
        <translation>报告时间：手柄自身的时钟</translation>
    </message>
    <message id="ReportClockKernel">
        <source>Report times: the kernel's, from %1</source>
        <extracomment>Key test: the controller's reports are timed by the kernel. %1 = event device.</extracomment>
        <translation>报告时间：内核时钟，来自 %1</translation>
    </message>
    <message id="ReportClockPoll">
        <source>Report times: our poll's, at most 125 per second</source>
        <extracomment>Key test: the controller's reports are timed by our poll.</extracomment>
        <translation>报告时间：轮询时钟，每秒最多 125 次</translation>
    </message>
    <message id="ReportClockPollBecause">
        <source>Report times: our poll's, at most 125 per second: %1</source>
        <extracomment>Key test: the controller's reports are timed by our poll, and why. %1 = reason.</extracomment>
        <translation>报告时间：轮询时钟，每秒最多 125 次：%1</translation>
    </message>
    <message id="RumbleMotorsRunning">
        <source>Rumbling %1 for %2 s: %3</source>
        <extracomment>Command-line rumble: motors on their own. %1 = controller; %2 = seconds; %3 = the motors and their strengths.</extracomment>
        <translation>正在使 %1 振动 %2 秒：%3</translation>
    </message>
    <message id="TouchpadCaption">
        <source>Touchpad %1 · %2 fingers</source>
        <extracomment>Key test touchpad page: a touchpad. %1 = its number; %2 = fingers down.</extracomment>
        <translation>触摸板 %1 · %2 根手指</translation>
    </message>
    <message id="TouchpadPressed">
        <source>pressed</source>
        <extracomment>Key test touchpad page: the touchpad's button is pressed.</extracomment>
        <translation>已按下</translation>
    </message>
    <message id="TouchpadTab">
        <source>Touchpad</source>
        <extracomment>Key test: page of the touchpads.</extracomment>
        <translation>触摸板</translation>
    </message>
    <message id="VerdictOff">
        <source>off</source>
        <extracomment>Verdict: a reading outside what is right.</extracomment>
        <translation>偏差</translation>
    </message>
    <message id="MappingCancel">
        <source>Cancel</source>
        <extracomment>Mapping editor: closes it without saving.</extracomment>
        <translation>取消</translation>
    </message>
    <message id="LightColourTitle">
        <source>Light colour</source>
        <extracomment>Key test: title of the dialog that picks the light's colour.</extracomment>
        <translation>灯光颜色</translation>
    </message>
    <message id="LightColourSet">
        <source>Set</source>
        <extracomment>Key test light dialog: sets the colour.</extracomment>
        <translation>设置</translation>
    </message>
    <message id="ColourRed">
        <source>Red</source>
        <extracomment>Key test light dialog: the red slider.</extracomment>
        <translation>红</translation>
    </message>
    <message id="ColourGreen">
        <source>Green</source>
        <extracomment>Key test light dialog: the green slider.</extracomment>
        <translation>绿</translation>
    </message>
    <message id="ColourBlue">
        <source>Blue</source>
        <extracomment>Key test light dialog: the blue slider.</extracomment>
        <translation>蓝</translation>
    </message>
    <message id="LightColourCancel">
        <source>Cancel</source>
        <extracomment>Key test light dialog: closes it and leaves the light as it was.</extracomment>
        <translation>取消</translation>
    </message>
    <message id="CheckSecondsLeft">
        <source>%1 s left</source>
        <extracomment>Stick check: the seconds the current step has left. %1 = whole seconds.</extracomment>
        <translation>剩余 %1 秒</translation>
    </message>
    <message id="CheckKeysRest">
        <source>Keyboard: leave W A S D and I J K L alone</source>
        <extracomment>Stick check with the keyboard playing the controller (demo): what to do with the keys while the sticks rest.</extracomment>
        <translation>键盘：请勿按 W A S D 和 I J K L</translation>
    </message>
    <message id="CheckKeysRotateLeft">
        <source>Keyboard: hold Shift with W, A, S or D to sweep the left stick around its edge, then let go</source>
        <extracomment>Stick check with the keyboard playing the controller (demo): the key combination that sweeps the left stick around its edge.</extracomment>
        <translation>键盘：按住 Shift 和 W、A、S 或 D 使左摇杆沿边缘转动，然后松开</translation>
    </message>
    <message id="CheckKeysRotateRight">
        <source>Keyboard: hold Shift with I, J, K or L to sweep the right stick around its edge, then let go</source>
        <extracomment>Stick check with the keyboard playing the controller (demo): the key combination that sweeps the right stick around its edge.</extracomment>
        <translation>键盘：按住 Shift 和 I、J、K 或 L 使右摇杆沿边缘转动，然后松开</translation>
    </message>
    <message id="CheckKeysTriggers">
        <source>Keyboard: 1 and 3 are the left and right trigger: press them, then let go</source>
        <extracomment>Stick check with the keyboard playing the controller (demo): the keys that are the triggers.</extracomment>
        <translation>键盘：1 和 3 是左、右扳机：按下后松开</translation>
    </message>
    <message id="CheckKeysMotion">
        <source>Keyboard: leave R T, Y U and O P alone: they turn the controller</source>
        <extracomment>Stick check with the keyboard playing the controller (demo): the keys that turn the controller must be left alone while the gyroscope is calibrated.</extracomment>
        <translation>键盘：请勿按 R T、Y U 和 O P：它们会转动手柄</translation>
    </message>
    <message id="CheckPromptMotionAgain">
        <source>It moved: lay it down and let go again</source>
        <extracomment>Stick check: the controller moved while the gyroscope was being calibrated; the countdown is shown beside it.</extracomment>
        <translation>手柄被移动：请重新放下并松开</translation>
    </message>
    <message id="CheckJitter">
        <source>Jitter</source>
        <extracomment>Stick check: label of the row giving how much the time between a stick's reports varies (± milliseconds).</extracomment>
        <translation>抖动</translation>
    </message>
    <message id="CheckNowColumn">
        <source>This check</source>
        <extracomment>Stick check: heading of the column of this check's figures, beside the previous check's.</extracomment>
        <translation>本次</translation>
    </message>
    <message id="CheckPreviousColumn">
        <source>Previous</source>
        <extracomment>Stick check: heading of the column of the previous check's figures.</extracomment>
        <translation>上次</translation>
    </message>
    <message id="CheckTravel">
        <source>Travel %1–%2</source>
        <extracomment>Stick check: a trigger's travel from its lowest to its highest level (0.00 to 1.00). %1 = lowest; %2 = highest.</extracomment>
        <translation>行程 %1–%2</translation>
    </message>
    <message id="CheckLevels" numerus="yes">
        <source>%n level(s)</source>
        <extracomment>Stick check: how many distinct levels a trigger reported. %n = count (plural forms).</extracomment>
        <translation>
            <numerusform>%n 级</numerusform>
        </translation>
    </message>
</context>
</TS>

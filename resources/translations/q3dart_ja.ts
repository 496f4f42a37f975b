<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
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
        <translation>数値</translation>
    </message>
    <message id="ArchiveNameNoVersion">
        <source>The file name "%1" holds no version number (such as 1.2-1.3-1.4.zip), so the package was not imported. Give the file its release's version as its name and open it again.</source>
        <extracomment>Toast (3 s) when a .zip archive opened into the application has no version number in its file name (the release folder is named after it); %1 = the file name. The user's file is left as it is.</extracomment>
        <translation>ファイル名「%1」にバージョン番号（例：1.2-1.3-1.4.zip）が含まれていないため、パッケージを取り込みませんでした。ファイル名をリリースのバージョンに変更して、もう一度開いてください。</translation>
    </message>
    <message id="ArchiveUnsafePaths">
        <source>This firmware package contains unsafe entries (paths outside its folder, or links) and was not imported.</source>
        <extracomment>Toast (3 s) when a firmware package opened into the application holds entries whose paths lead out of its release folder, or links; the package is refused and nothing is written.</extracomment>
        <translation>このファームウェアパッケージには安全でない項目（フォルダーの外を指すパスやリンク）が含まれているため、インポートしませんでした。</translation>
    </message>
    <message id="ArrowKeys">
        <source>Arrow Keys</source>
        <extracomment>Key test screen: caption of the direction pad section.</extracomment>
        <translation>方向キー</translation>
    </message>
    <message id="BatteryEmpty">
        <source>empty</source>
        <extracomment>Key test screen: battery level, 5 % or less.</extracomment>
        <translation>空</translation>
    </message>
    <message id="BatteryFull">
        <source>full</source>
        <extracomment>Key test screen: battery level, above 70 %.</extracomment>
        <translation>満充電</translation>
    </message>
    <message id="BatteryLevel">
        <source>battery %1</source>
        <extracomment>Key test screen: identity line. %1 = one of the Battery* texts.</extracomment>
        <translation>バッテリー %1</translation>
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
        <translation>不明</translation>
    </message>
    <message id="BatteryWired">
        <source>wired</source>
        <extracomment>Key test screen: the controller is powered by its cable.</extracomment>
        <translation>有線</translation>
    </message>
    <message id="ButtonMisc">
        <source>Misc</source>
        <extracomment>Game controllers: the extra button some controllers have (share, capture or microphone button).</extracomment>
        <translation>その他</translation>
    </message>
    <message id="ButtonPaddle">
        <source>Paddle %1</source>
        <extracomment>Game controllers: a paddle on the back of the controller. %1 = its number, 1 to 4.</extracomment>
        <translation>背面パドル %1</translation>
    </message>
    <message id="ButtonTouchpad">
        <source>Touchpad</source>
        <extracomment>Game controllers: the click of the controller's touchpad.</extracomment>
        <translation>タッチパッド</translation>
    </message>
    <message id="CaFileInvalid">
        <source>No certificate could be read from "%1".</source>
        <extracomment>Command line: the file given with --ca-file holds no PEM certificate; %1 = the file.</extracomment>
        <translation>「%1」から証明書を読み込めませんでした。</translation>
    </message>
    <message id="Cancel">
        <source>Cancel</source>
        <extracomment>Button of the 'open the App Store' alert on the game list page; closes the alert.</extracomment>
        <translation>キャンセル</translation>
    </message>
    <message id="CannotUnzipPrompt">
        <source>This file is not a firmware package (.zip) and cannot be unzipped.</source>
        <extracomment>Toast (3 s) when a file opened into the application is not a .zip archive (by its extension); the user's file is left as it is.</extracomment>
        <translation>このファイルはファームウェアパッケージ（.zip）ではないため、解凍できません。</translation>
    </message>
    <message id="CheckAgain">
        <source>Check again</source>
        <extracomment>Stick check: run the check once more.</extracomment>
        <translation>もう一度チェック</translation>
    </message>
    <message id="CheckButtonLine" numerus="yes">
        <source>%1: %n press(es), %2 chatter (%3)</source>
        <extracomment>Controller check report: one button. %n = presses (plural forms); %1 = button; %2 = chatter count; %3 = verdict.</extracomment>
        <translation>
            <numerusform>%1：押下 %n 回、チャタリング %2 回（%3）</numerusform>
        </translation>
    </message>
    <message id="CheckCentreLine">
        <source>%1: drift %2, noise %3, recommended dead zone %4 (%5)</source>
        <extracomment>Controller check report: a stick at rest. %1 = stick; %2 = drift; %3 = noise; %4 = recommended dead zone (stick units 0..1); %5 = verdict on the drift.</extracomment>
        <translation>%1：ドリフト %2、ノイズ %3、推奨デッドゾーン %4（%5）</translation>
    </message>
    <message id="CheckCircularity">
        <source>Circularity</source>
        <extracomment>Stick check: figure label; the circularity error.</extracomment>
        <translation>真円度</translation>
    </message>
    <message id="CheckClockDevice">
        <source>timed by the device</source>
        <extracomment>Controller check report: the report rate was timed by the device's own event times.</extracomment>
        <translation>デバイスの時刻で計測</translation>
    </message>
    <message id="CheckClockPoll">
        <source>timed by our poll of the device, which caps the rate</source>
        <extracomment>Controller check report: the report rate was timed when our poll read the device, so it cannot exceed the poll's rate.</extracomment>
        <translation>アプリのポーリングで計測（レートはポーリングで頭打ち）</translation>
    </message>
    <message id="CheckClose">
        <source>Done</source>
        <extracomment>Stick check: back to the key test.</extracomment>
        <translation>完了</translation>
    </message>
    <message id="CheckComplete">
        <source>Check complete</source>
        <extracomment>Controller check: all steps are done.</extracomment>
        <translation>チェック完了</translation>
    </message>
    <message id="CheckControllerLine">
        <source>Controller: %1</source>
        <extracomment>Controller check report: the controller's identity. %1 = name, type, vendor:product, GUID.</extracomment>
        <translation>コントローラー：%1</translation>
    </message>
    <message id="CheckCoverage">
        <source>Coverage</source>
        <extracomment>Stick check: figure label; share of directions reached.</extracomment>
        <translation>カバー率</translation>
    </message>
    <message id="CheckDeadZone">
        <source>Dead zone</source>
        <extracomment>Stick check: figure label; the recommended dead zone.</extracomment>
        <translation>デッドゾーン</translation>
    </message>
    <message id="CheckDrift">
        <source>Drift</source>
        <extracomment>Stick check: figure label.</extracomment>
        <translation>ドリフト</translation>
    </message>
    <message id="CheckFirmwareLine">
        <source>Firmware: %1</source>
        <extracomment>Controller check report: the controller's firmware versions. %1 = boot-left-right.</extracomment>
        <translation>ファームウェア：%1</translation>
    </message>
    <message id="CheckLeftStick">
        <source>Left stick</source>
        <extracomment>Controller check: the left stick.</extracomment>
        <translation>左スティック</translation>
    </message>
    <message id="CheckLeftTrigger">
        <source>Left trigger</source>
        <extracomment>Controller check: the left trigger (L2).</extracomment>
        <translation>左トリガー</translation>
    </message>
    <message id="CheckNeedsSticks">
        <source>%1 has no sticks to check.</source>
        <extracomment>Controller check: the controller offers no sticks. %1 = controller name.</extracomment>
        <translation>%1 にはチェックできるスティックがありません。</translation>
    </message>
    <message id="CheckNoPrevious">
        <source>No earlier check of this controller</source>
        <extracomment>Stick check: there is no earlier report of this controller.</extracomment>
        <translation>このコントローラーの以前のチェックはありません</translation>
    </message>
    <message id="CheckNoise">
        <source>Noise</source>
        <extracomment>Stick check: figure label.</extracomment>
        <translation>ノイズ</translation>
    </message>
    <message id="CheckNone">
        <source>none</source>
        <extracomment>Stick check: no short direction.</extracomment>
        <translation>なし</translation>
    </message>
    <message id="CheckPrevious">
        <source>Previous check, %1</source>
        <extracomment>Stick check: the figures of the earlier check of the same controller. %1 = its date and time.</extracomment>
        <translation>前回のチェック、%1</translation>
    </message>
    <message id="CheckPromptRest">
        <source>Leave both sticks at rest: %1 s</source>
        <extracomment>Controller check step: both sticks at rest. %1 = seconds left.</extracomment>
        <translation>両方のスティックに触れないでください：%1 秒</translation>
    </message>
    <message id="CheckPromptRotateLeft">
        <source>Rotate the left stick along its edge a few times, then let it go</source>
        <extracomment>Controller check step.</extracomment>
        <translation>左スティックを縁に沿って数回回し、手を離してください</translation>
    </message>
    <message id="CheckPromptRotateRight">
        <source>Rotate the right stick along its edge a few times, then let it go</source>
        <extracomment>Controller check step.</extracomment>
        <translation>右スティックを縁に沿って数回回し、手を離してください</translation>
    </message>
    <message id="CheckPromptTriggers">
        <source>Press both triggers all the way, then let them go</source>
        <extracomment>Controller check step.</extracomment>
        <translation>両方のトリガーを奥まで押し、離してください</translation>
    </message>
    <message id="CheckRangeLine">
        <source>%1: circularity error %2 % (quadrants %3), coverage %4 % (%5)</source>
        <extracomment>Controller check report: a stick's range. %1 = stick; %2 = circularity error in percent; %3 = the four quadrants' errors; %4 = coverage in percent; %5 = verdict.</extracomment>
        <translation>%1：真円度誤差 %2 %（象限別 %3）、カバー率 %4 %（%5）</translation>
    </message>
    <message id="CheckRangeNotCovered">
        <source>%1: range not measured (%2 % of the directions reached)</source>
        <extracomment>Controller check report: a stick was not rotated far enough for a result. %1 = stick; %2 = percent of the directions reached.</extracomment>
        <translation>%1：可動域は未測定（到達した方向 %2 %）</translation>
    </message>
    <message id="CheckRate">
        <source>Rate</source>
        <extracomment>Stick check: figure label; updates per second.</extracomment>
        <translation>レート</translation>
    </message>
    <message id="CheckRateLine">
        <source>%1: %2 updates per second, jitter %3 ms (%4)</source>
        <extracomment>Controller check report: how often a stick reports. %1 = stick; %2 = updates per second; %3 = jitter in milliseconds; %4 = whose clock timed it.</extracomment>
        <translation>%1：毎秒 %2 回の更新、ジッター %3 ミリ秒（%4）</translation>
    </message>
    <message id="CheckReportNotSaved">
        <source>The check's report could not be saved in %1.</source>
        <extracomment>Controller check: the report file could not be written. %1 = folder or file.</extracomment>
        <translation>チェックのレポートを %1 に保存できませんでした。</translation>
    </message>
    <message id="CheckReportSaved">
        <source>Report saved: %1</source>
        <extracomment>Command-line controller check: where the report was saved. %1 = file.</extracomment>
        <translation>レポートを保存しました：%1</translation>
    </message>
    <message id="CheckRightStick">
        <source>Right stick</source>
        <extracomment>Controller check: the right stick.</extracomment>
        <translation>右スティック</translation>
    </message>
    <message id="CheckRightTrigger">
        <source>Right trigger</source>
        <extracomment>Controller check: the right trigger (R2).</extracomment>
        <translation>右トリガー</translation>
    </message>
    <message id="CheckShort">
        <source>Short</source>
        <extracomment>Stick check: figure label; directions where the range falls short.</extracomment>
        <translation>不足</translation>
    </message>
    <message id="CheckShortLine">
        <source>%1: the range falls short towards %2</source>
        <extracomment>Controller check report: the directions where a stick's range falls short. %1 = stick; %2 = directions.</extracomment>
        <translation>%1：可動域が不足している方向：%2</translation>
    </message>
    <message id="CheckSticks">
        <source>Check sticks</source>
        <extracomment>Key test: the button that starts the guided stick check.</extracomment>
        <translation>スティックをチェック</translation>
    </message>
    <message id="CheckTitle">
        <source>Stick check</source>
        <extracomment>Stick check: the panel's caption.</extracomment>
        <translation>スティックチェック</translation>
    </message>
    <message id="CheckTriggerLine" numerus="yes">
        <source>%1: %2 to %3, %n level(s) (%4)</source>
        <extracomment>Controller check report: a trigger's travel. %n = distinct levels seen (plural forms); %1 = trigger; %2 = lowest level; %3 = highest level; %4 = verdict.</extracomment>
        <translation>
            <numerusform>%1：%2 〜 %3、%n 段階（%4）</numerusform>
        </translation>
    </message>
    <message id="CheckWaitingForController">
        <source>Waiting for a game controller with two sticks...</source>
        <extracomment>Command-line controller check: no controller with two sticks is connected yet.</extracomment>
        <translation>2 本のスティックを持つゲームコントローラーを待っています…</translation>
    </message>
    <message id="ChecksumRejected">
        <source>The controller rejected the firmware it received (checksum mismatch). Please reconnect the controller and try again.</source>
        <extracomment>Upgrade engine / command-line: the controller refused the checksum of the right-side image twice. What was installed is said after it.</extracomment>
        <translation>コントローラーが受信したファームウェアのチェックサムを拒否しました。コントローラーを接続し直して、もう一度お試しください。</translation>
    </message>
    <message id="ChooseRelease">
        <source>Release to install</source>
        <extracomment>Upgrade screen: caption above the buttons that choose a local or an online release.</extracomment>
        <translation>インストールするファームウェア</translation>
    </message>
    <message id="CliBaseUrlInvalid">
        <source>--base-url needs an http: or https: address</source>
        <extracomment>Command-line usage error: bad --base-url.</extracomment>
        <translation>--base-url には http: か https: のアドレスが必要です</translation>
    </message>
    <message id="CliExpiresInvalid">
        <source>--expires needs a number of days from 0 to %1</source>
        <extracomment>Command-line usage error: bad --expires. %1 = the largest number of days.</extracomment>
        <translation>--expires には 0 から %1 までの日数が必要です</translation>
    </message>
    <message id="CliFlashBoot">
        <source>the boot loader image</source>
        <extracomment>Command-line help: flash --boot.</extracomment>
        <translation>ブートローダーのイメージ</translation>
    </message>
    <message id="CliFlashHelp">
        <source>send firmware images (boot loader, left, right, in that order) across the controller's restarts; prints the versions read afterwards</source>
        <extracomment>Command-line help: the flash command.</extracomment>
        <translation>ファームウェアイメージを送る（ブートローダー、左、右の順）。コントローラーの再起動をまたいで続け、最後に読み取ったバージョンを表示する</translation>
    </message>
    <message id="CliFlashLeft">
        <source>the left side's image</source>
        <extracomment>Command-line help: flash --left.</extracomment>
        <translation>左側のイメージ</translation>
    </message>
    <message id="CliFlashNeedsImage">
        <source>flash needs at least one image</source>
        <extracomment>Command-line usage error: flash was given no image.</extracomment>
        <translation>flash にはイメージが 1 つ以上必要です</translation>
    </message>
    <message id="CliFlashRight">
        <source>the right side's image</source>
        <extracomment>Command-line help: flash --right.</extracomment>
        <translation>右側のイメージ</translation>
    </message>
    <message id="CliGamepadsHelp">
        <source>list the connected game controllers, tab-separated: name, player index, extended|basic|unmapped, type, vendor:product, GUID (- where unknown)</source>
        <extracomment>Command-line help: the gamepads command. Keep extended|basic|unmapped literally.</extracomment>
        <translation>接続中のゲームコントローラーをタブ区切りで一覧表示する：名前、プレイヤー番号、extended|basic|unmapped、種類、vendor:product、GUID（不明なら -）</translation>
    </message>
    <message id="CliHelpCommandFooter">
        <source>The options before the command (see "%1 --help") apply as well; --trust-key, --trust-root and --ca-file are also accepted after it.</source>
        <extracomment>Command-line help of one command: the closing note. %1 = the program's name.</extracomment>
        <translation>コマンドの前のオプション（「%1 --help」を参照）も使えます。--trust-key、--trust-root、--ca-file はコマンドの後にも書けます。</translation>
    </message>
    <message id="CliHelpCommands">
        <source>Commands:</source>
        <extracomment>Command-line help: heading of the command list.</extracomment>
        <translation>コマンド：</translation>
    </message>
    <message id="CliHelpFooter">
        <source>With --simulate, gamepads, keytest and rumble use a virtual controller instead of the real ones. Game-controller mappings (SDL's format) are read from SDL_GAMECONTROLLERCONFIG, SDL_GAMECONTROLLERCONFIG_FILE and gamecontrollerdb.txt in the configuration folder (~/.config/q3dart). "%1 COMMAND --help" shows a command's options. Exit codes: 0 success, 1 failure, 2 usage error, 3 no controller attached.</source>
        <extracomment>Command-line help: the closing notes. %1 = the program's name. Keep option and variable names literally.</extracomment>
        <translation>--simulate を付けると、gamepads、keytest、rumble は実機の代わりに仮想コントローラーを使います。ゲームコントローラーのマッピング（SDL 形式）は SDL_GAMECONTROLLERCONFIG、SDL_GAMECONTROLLERCONFIG_FILE、設定フォルダー（~/.config/q3dart）の gamecontrollerdb.txt から読み込みます。「%1 コマンド --help」で各コマンドのオプションを表示します。終了コード：0 成功、1 失敗、2 使い方の誤り、3 コントローラー未接続。</translation>
    </message>
    <message id="CliHelpHint">
        <source>Run "%1" for help.</source>
        <extracomment>Command-line usage error: where the help is. %1 = the help command to run.</extracomment>
        <translation>ヘルプは「%1」で表示されます。</translation>
    </message>
    <message id="CliHelpOptions">
        <source>Options:</source>
        <extracomment>Command-line help: heading of the option list.</extracomment>
        <translation>オプション：</translation>
    </message>
    <message id="CliHelpUsage">
        <source>Usage: %1</source>
        <extracomment>Command-line help: the usage line. %1 = the program and its words.</extracomment>
        <translation>使い方：%1</translation>
    </message>
    <message id="CliHistoryHelp">
        <source>the upgrade runs recorded in the documents directory, newest first: start, outcome, release, versions before, after, reason, controller</source>
        <extracomment>Command-line help: the history command.</extracomment>
        <translation>ドキュメントフォルダーに記録された更新の実行（新しい順）：開始、結果、リリース、前後のバージョン、理由、コントローラー</translation>
    </message>
    <message id="CliHistoryJson">
        <source>a JSON array of the runs</source>
        <extracomment>Command-line help: history --json.</extracomment>
        <translation>実行記録を JSON 配列で出力する</translation>
    </message>
    <message id="CliImportHelp">
        <source>import release archives (VERSION.zip) as local releases</source>
        <extracomment>Command-line help: the import command, which takes one archive or several.</extracomment>
        <translation>リリースアーカイブ（VERSION.zip）をローカルのリリースとして取り込む（複数可）</translation>
    </message>
    <message id="CliKeygenHelp">
        <source>write a new Ed25519 key to FILE (PEM, owner only) and print its key id, then its public key (base64) as the last line</source>
        <extracomment>Command-line help: the keygen command.</extracomment>
        <translation>新しい Ed25519 鍵を FILE に書き出し（PEM、所有者のみ）、鍵 ID を表示し、最後の行に公開鍵（base64）を表示する</translation>
    </message>
    <message id="CliKeytestCheck">
        <source>the guided stick check: rest (3 s), rotate each stick along its edge, press both triggers</source>
        <extracomment>Command-line help: keytest --check.</extracomment>
        <translation>ガイド付きスティックチェック：静止（3 秒）、各スティックを縁に沿って回す、両方のトリガーを押す</translation>
    </message>
    <message id="CliKeytestCheckOnly">
        <source>--json, --stick and --seconds go with keytest --check</source>
        <extracomment>Command-line usage error: check options given without --check.</extracomment>
        <translation>--json、--stick、--seconds は keytest --check と一緒に使います</translation>
    </message>
    <message id="CliKeytestHelp">
        <source>print every key and stick event until interrupted (Ctrl+C): `key A pressed`, `key A released`, `stick left DX DY`; with --simulate, reads `press|release NAME`, `set NAME VALUE`, `stick left|right X Y`, `trigger left|right V`, `gyro X Y Z`, `accel X Y Z`, `touch PAD FINGER X Y [P]`, `lift PAD FINGER`, `touchpad PAD press|release`, `plug`, `unplug` and `wait MS` from standard input. --check runs the guided stick check and prints its report, saved in the documents directory</source>
        <extracomment>Command-line help: the keytest command. Keep the printed and script lines literally.</extracomment>
        <translation>中断されるまで（Ctrl+C）すべてのキーとスティックのイベントを表示する：`key A pressed`、`key A released`、`stick left DX DY`。--simulate では標準入力から `press|release NAME`、`set NAME VALUE`、`stick left|right X Y`、`trigger left|right V`、`gyro X Y Z`、`accel X Y Z`、`touch PAD FINGER X Y [P]`、`lift PAD FINGER`、`touchpad PAD press|release`、`plug`、`unplug`、`wait MS` を読む。--check はガイド付きのスティックチェックを行ってレポートを表示し、ドキュメントフォルダーに保存する</translation>
    </message>
    <message id="CliKeytestJson">
        <source>print the report as one JSON object</source>
        <extracomment>Command-line help: keytest --check --json.</extracomment>
        <translation>レポートを 1 つの JSON オブジェクトで出力する</translation>
    </message>
    <message id="CliKeytestSeconds">
        <source>the most a rotation or the trigger step may take (default 10)</source>
        <extracomment>Command-line help: keytest --check --seconds.</extracomment>
        <translation>回転またはトリガーの手順にかけられる最長時間（既定 10）</translation>
    </message>
    <message id="CliKeytestStick">
        <source>the sticks to rotate (default both)</source>
        <extracomment>Command-line help: keytest --check --stick.</extracomment>
        <translation>回すスティック（既定は両方）</translation>
    </message>
    <message id="CliKeytestStickInvalid">
        <source>--stick takes left, right or both</source>
        <extracomment>Command-line usage error: bad --stick. Keep left, right, both literally.</extracomment>
        <translation>--stick には left、right、both のいずれかを指定します</translation>
    </message>
    <message id="CliKeytestValues">
        <source>also print `axis left X Y` after each stick report and `trigger left V` when a trigger's level changes</source>
        <extracomment>Command-line help: keytest --values. Keep the printed lines literally.</extracomment>
        <translation>スティックの報告ごとに `axis left X Y` を、トリガーの値が変わると `trigger left V` も表示する</translation>
    </message>
    <message id="CliListVersionInvalid">
        <source>--list-version needs a whole number from 0</source>
        <extracomment>Command-line usage error: bad --list-version.</extracomment>
        <translation>--list-version には 0 以上の整数が必要です</translation>
    </message>
    <message id="CliListenInvalid">
        <source>--listen needs HOST:PORT with a numeric host address</source>
        <extracomment>Command-line usage error: bad --listen value.</extracomment>
        <translation>--listen には数値のホストアドレスを使った HOST:PORT が必要です</translation>
    </message>
    <message id="CliNeedsArguments">
        <source>expected %1</source>
        <extracomment>Command-line usage error: the command's arguments are missing or too many. %1 = the arguments it takes.</extracomment>
        <translation>%1 が必要です</translation>
    </message>
    <message id="CliNoCommand">
        <source>no command given</source>
        <extracomment>Command-line usage error: no command was given.</extracomment>
        <translation>コマンドが指定されていません</translation>
    </message>
    <message id="CliOptionCaFile">
        <source>also trust the PEM certificate authorities of FILE for https</source>
        <extracomment>Command-line help: --ca-file.</extracomment>
        <translation>https で FILE の PEM 認証局も信頼する</translation>
    </message>
    <message id="CliOptionDevice">
        <source>sim | tcp:HOST:PORT | serial:PATH (default: the first USB serial controller)</source>
        <extracomment>Command-line help: --device. Keep sim, tcp:HOST:PORT and serial:PATH literally.</extracomment>
        <translation>sim | tcp:HOST:PORT | serial:PATH（既定：最初の USB シリアルコントローラー）</translation>
    </message>
    <message id="CliOptionDocuments">
        <source>documents directory (default: the user's data folder)</source>
        <extracomment>Command-line help: --documents.</extracomment>
        <translation>ドキュメントフォルダー（既定：ユーザーのデータフォルダー）</translation>
    </message>
    <message id="CliOptionHelp">
        <source>show this help</source>
        <extracomment>Command-line help: --help.</extracomment>
        <translation>このヘルプを表示する</translation>
    </message>
    <message id="CliOptionLang">
        <source>language of messages: en, zh, ja (default: the system's)</source>
        <extracomment>Command-line help: --lang. Keep en, zh, ja literally.</extracomment>
        <translation>メッセージの言語：en、zh、ja（既定：システムの言語）</translation>
    </message>
    <message id="CliOptionMaxDownload">
        <source>refuse a release archive download larger than this (default 64)</source>
        <extracomment>Command-line help: --max-download-mib.</extracomment>
        <translation>これより大きいリリースアーカイブはダウンロードしない（既定 64）</translation>
    </message>
    <message id="CliOptionNeedsMiB">
        <source>%1 needs a size in MiB above 0</source>
        <extracomment>Command-line usage error: bad --max-download-mib. %1 = the option.</extracomment>
        <translation>%1 には 0 より大きい MiB 単位のサイズが必要です</translation>
    </message>
    <message id="CliOptionNeedsSeconds">
        <source>%1 needs a number of seconds</source>
        <extracomment>Command-line usage error: bad --wait. %1 = the option.</extracomment>
        <translation>%1 には秒数が必要です</translation>
    </message>
    <message id="CliOptionNeedsSecondsAboveZero">
        <source>%1 needs a number of seconds above 0</source>
        <extracomment>Command-line usage error: bad --restart-wait or --silence-limit. %1 = the option.</extracomment>
        <translation>%1 には 0 より大きい秒数が必要です</translation>
    </message>
    <message id="CliOptionNeedsValue">
        <source>%1 needs a value</source>
        <extracomment>Command-line usage error: an option given without its value. %1 = the option.</extracomment>
        <translation>%1 には値が必要です</translation>
    </message>
    <message id="CliOptionRequired">
        <source>%1 is required</source>
        <extracomment>Command-line usage error: a required option is missing. %1 = the option.</extracomment>
        <translation>%1 は必須です</translation>
    </message>
    <message id="CliOptionRestartWait">
        <source>how long a controller may take to come back after a restart (default 60)</source>
        <extracomment>Command-line help: --restart-wait.</extracomment>
        <translation>再起動後にコントローラーが戻るまでの最長時間（既定 60）</translation>
    </message>
    <message id="CliOptionServer">
        <source>firmware server address (http: or https:)</source>
        <extracomment>Command-line help: --server.</extracomment>
        <translation>ファームウェアサーバーのアドレス（http: または https:）</translation>
    </message>
    <message id="CliOptionSilenceLimit">
        <source>how long a controller may stay silent during a transfer (default 10)</source>
        <extracomment>Command-line help: --silence-limit.</extracomment>
        <translation>転送中にコントローラーが応答しなくてもよい最長時間（既定 10）</translation>
    </message>
    <message id="CliOptionSimulate">
        <source>use the simulated controller (same as --device sim)</source>
        <extracomment>Command-line help: --simulate.</extracomment>
        <translation>シミュレートしたコントローラーを使う（--device sim と同じ）</translation>
    </message>
    <message id="CliOptionTakesNoValue">
        <source>%1 takes no value</source>
        <extracomment>Command-line usage error: a switch given a value. %1 = the option.</extracomment>
        <translation>%1 は値を取りません</translation>
    </message>
    <message id="CliOptionTrustKey">
        <source>trust this release key (base64 of a raw 32-byte Ed25519 public key); repeatable. With a trusted key an online release installs only when its signature verifies, and the release list only when signed by it</source>
        <extracomment>Command-line help: --trust-key.</extracomment>
        <translation>このリリース鍵を信頼する（32 バイトの Ed25519 公開鍵の base64）。繰り返し指定可。信頼する鍵があると、オンラインのリリースは署名を検証できた場合だけ、リリース一覧はその鍵で署名されている場合だけ受け入れます</translation>
    </message>
    <message id="CliOptionTrustRoot">
        <source>trust this root key (as keygen prints it); repeatable. Release and list signatures then verify with the keys of the key set the root signed</source>
        <extracomment>Command-line help: --trust-root.</extracomment>
        <translation>このルート鍵を信頼する（keygen が表示する形式）。繰り返し指定可。リリースと一覧の署名は、ルートが署名した鍵セットの鍵で検証します</translation>
    </message>
    <message id="CliOptionVersion">
        <source>show the program's version</source>
        <extracomment>Command-line help: --version.</extracomment>
        <translation>プログラムのバージョンを表示する</translation>
    </message>
    <message id="CliOptionWait">
        <source>how long to wait for a controller to attach (default 5)</source>
        <extracomment>Command-line help: --wait.</extracomment>
        <translation>コントローラーの接続を待つ時間（既定 5）</translation>
    </message>
    <message id="CliOptionsExclusive">
        <source>%1 and %2 cannot be given together</source>
        <extracomment>Command-line usage error: two options that exclude each other. %1, %2 = the options.</extracomment>
        <translation>%1 と %2 は同時に指定できません</translation>
    </message>
    <message id="CliPublishBaseUrl">
        <source>where OUT is served (default: the firmware server address)</source>
        <extracomment>Command-line help: publish --base-url.</extracomment>
        <translation>OUT を配信するアドレス（既定：ファームウェアサーバーのアドレス）</translation>
    </message>
    <message id="CliPublishHelp">
        <source>write the same list and archives as a static site into OUT for any web host: OUT/firmware/update/r1 and OUT/releases/. With --sign-key, each release and the list as a whole are signed (OUT/firmware/update/r1.sig)</source>
        <extracomment>Command-line help: the publish command.</extracomment>
        <translation>同じ一覧とアーカイブを、どの Web ホストでも使える静的サイトとして OUT に書き出す：OUT/firmware/update/r1 と OUT/releases/。--sign-key を付けると各リリースと一覧全体に署名する（OUT/firmware/update/r1.sig）</translation>
    </message>
    <message id="CliPublishNeedsFolder">
        <source>publish needs a folder of release archives</source>
        <extracomment>Command-line usage error: publish was not given a folder.</extracomment>
        <translation>publish にはリリースアーカイブのフォルダーが必要です</translation>
    </message>
    <message id="CliPublishSignKey">
        <source>the release key to sign with (PEM)</source>
        <extracomment>Command-line help: publish --sign-key.</extracomment>
        <translation>署名に使うリリース鍵（PEM）</translation>
    </message>
    <message id="CliReleasesHelp">
        <source>list the releases, newest first: version, then notes or path; online releases then signed, unchecked (signed, no key trusted), invalid or unsigned</source>
        <extracomment>Command-line help: the releases command.</extracomment>
        <translation>リリースを新しい順に一覧表示する：バージョン、次に説明かパス。オンラインのリリースは続けて signed、unchecked（署名ありだが信頼する鍵がない）、invalid、unsigned</translation>
    </message>
    <message id="CliReleasesLocal">
        <source>only the local releases</source>
        <extracomment>Command-line help: releases --local.</extracomment>
        <translation>ローカルのリリースだけ</translation>
    </message>
    <message id="CliReleasesOnline">
        <source>only the online releases</source>
        <extracomment>Command-line help: releases --online.</extracomment>
        <translation>オンラインのリリースだけ</translation>
    </message>
    <message id="CliRumbleHelp">
        <source>run the motors of the first controller that has them: all at full strength, or each motor named at its own strength; --light sets its light</source>
        <extracomment>Command-line help: the rumble command.</extracomment>
        <translation>モーターのある最初のコントローラーのモーターを動かす：すべてを最大の強さで、または指定したモーターをそれぞれの強さで。--light でライトを設定する</translation>
    </message>
    <message id="CliRumbleSeconds">
        <source>how long (default 0.5)</source>
        <extracomment>Command-line help: rumble --seconds.</extracomment>
        <translation>動かす時間（既定 0.5）</translation>
    </message>
    <message id="CliRunJson">
        <source>one event a line on standard output: phase, download, progress, and last the outcome (completed, failed or cancelled)</source>
        <extracomment>Command-line help: flash/upgrade --json. Keep the event names literally.</extracomment>
        <translation>標準出力に 1 行 1 イベント：phase、download、progress、最後に結果（completed、failed、cancelled）</translation>
    </message>
    <message id="CliSecondsRange">
        <source>%1 takes a number above 0 and at most %2</source>
        <extracomment>Command-line usage error: a number of seconds out of range. %1 = the option, %2 = the largest value.</extracomment>
        <translation>%1 には 0 より大きく %2 以下の数を指定します</translation>
    </message>
    <message id="CliServeDoesNotSign">
        <source>serve does not sign: sign the site offline with `publish DIR OUT --sign-key FILE` and serve it with `serve --site OUT`</source>
        <extracomment>Command-line usage error: serve was given a signing key. Keep the commands literally.</extracomment>
        <translation>serve は署名しません。`publish DIR OUT --sign-key FILE` でオフライン署名し、`serve --site OUT` で配信してください</translation>
    </message>
    <message id="CliServeHelp">
        <source>serve a folder of release archives as the firmware server does, with their SHA-256, unsigned (for development); with --site, serve a published site as a static web host would</source>
        <extracomment>Command-line help: the serve command.</extracomment>
        <translation>リリースアーカイブのフォルダーをファームウェアサーバーと同じように配信する（SHA-256 付き、署名なし、開発用）。--site では公開済みサイトを静的 Web ホストと同じように配信する</translation>
    </message>
    <message id="CliServeListen">
        <source>address to listen on (default 127.0.0.1:8080; port 0 picks a free port)</source>
        <extracomment>Command-line help: serve --listen.</extracomment>
        <translation>待ち受けるアドレス（既定 127.0.0.1:8080。ポート 0 で空きポートを選ぶ）</translation>
    </message>
    <message id="CliServeNeedsFolder">
        <source>serve needs a folder of release archives</source>
        <extracomment>Command-line usage error: serve was not given a folder.</extracomment>
        <translation>serve にはリリースアーカイブのフォルダーが必要です</translation>
    </message>
    <message id="CliServeNeedsSite">
        <source>serve --site needs a site written by publish (OUT/firmware/update/r1)</source>
        <extracomment>Command-line usage error: serve --site was not given a published site.</extracomment>
        <translation>serve --site には publish で書き出したサイト（OUT/firmware/update/r1）が必要です</translation>
    </message>
    <message id="CliServeSignKey">
        <source>refused: sign a site offline with publish</source>
        <extracomment>Command-line help: serve --sign-key, which is refused.</extracomment>
        <translation>使用不可：サイトは publish でオフライン署名する</translation>
    </message>
    <message id="CliServeSite">
        <source>a site written by publish</source>
        <extracomment>Command-line help: serve --site.</extracomment>
        <translation>publish で書き出したサイト</translation>
    </message>
    <message id="CliSignExpires">
        <source>the list or key set expires after DAYS (default 30, fractions allowed)</source>
        <extracomment>Command-line help: --expires.</extracomment>
        <translation>一覧または鍵セットの有効期限（日数、既定 30、小数可）</translation>
    </message>
    <message id="CliSignKeysAdd">
        <source>add these public keys (base64); repeatable</source>
        <extracomment>Command-line help: sign-keys --add.</extracomment>
        <translation>これらの公開鍵（base64）を追加する。繰り返し指定可</translation>
    </message>
    <message id="CliSignKeysHelp">
        <source>write a new key set signed by the root into OUT/firmware/update/keys.json: one version higher, the current keys kept unless removed (by key id)</source>
        <extracomment>Command-line help: the sign-keys command.</extracomment>
        <translation>ルートが署名した新しい鍵セットを OUT/firmware/update/keys.json に書き出す：バージョンは 1 つ上、（鍵 ID で）削除しない限り今の鍵は残す</translation>
    </message>
    <message id="CliSignKeysRemove">
        <source>remove the keys with these key ids; repeatable</source>
        <extracomment>Command-line help: sign-keys --remove.</extracomment>
        <translation>これらの鍵 ID の鍵を削除する。繰り返し指定可</translation>
    </message>
    <message id="CliSignKeysRoot">
        <source>the root key to sign with (PEM); required</source>
        <extracomment>Command-line help: sign-keys --root-key.</extracomment>
        <translation>署名に使うルート鍵（PEM）。必須</translation>
    </message>
    <message id="CliSignListHelp">
        <source>sign a published site's list again: a new expiry, a version one higher</source>
        <extracomment>Command-line help: the sign-list command.</extracomment>
        <translation>公開済みサイトの一覧に署名し直す：新しい有効期限、1 つ上のバージョン</translation>
    </message>
    <message id="CliSignListKey">
        <source>the release key to sign with (PEM); required</source>
        <extracomment>Command-line help: sign-list --sign-key.</extracomment>
        <translation>署名に使うリリース鍵（PEM）。必須</translation>
    </message>
    <message id="CliSignListVersion">
        <source>the list's version (default one above the site's current list)</source>
        <extracomment>Command-line help: --list-version.</extracomment>
        <translation>一覧のバージョン（既定はサイトの現在の一覧より 1 大きい値）</translation>
    </message>
    <message id="CliSleepNotHeldOff">
        <source>Sleep could not be held off (%1); keep the computer awake until the upgrade ends.</source>
        <extracomment>Command line, standard error, once: the system's sleep lock (logind on the system bus) could not be taken; the upgrade goes on. %1 = the bus's reason, in English (e.g. 'Failed to connect to socket /run/dbus/system_bus_socket: No such file or directory').</extracomment>
        <translation>スリープを抑止できませんでした（%1）。更新が終わるまでコンピューターをスリープさせないでください。</translation>
    </message>
    <message id="CliUnexpectedArgument">
        <source>unexpected argument %1</source>
        <extracomment>Command-line usage error: a word the command does not take. %1 = the word.</extracomment>
        <translation>余分な引数 %1</translation>
    </message>
    <message id="CliUnknownCommand">
        <source>unknown command %1</source>
        <extracomment>Command-line usage error: a command that does not exist. %1 = the word given.</extracomment>
        <translation>不明なコマンド %1</translation>
    </message>
    <message id="CliUnknownOption">
        <source>unknown option %1</source>
        <extracomment>Command-line usage error: an option that does not exist. %1 = the option as given.</extracomment>
        <translation>不明なオプション %1</translation>
    </message>
    <message id="CliUpgradeAllowOlder">
        <source>allow a named release older than the controller's firmware</source>
        <extracomment>Command-line help: upgrade --allow-older.</extracomment>
        <translation>コントローラーのファームウェアより古いリリースの指定を許可する</translation>
    </message>
    <message id="CliUpgradeHelp">
        <source>bring the controller to a release: local, online (downloaded and checked), or the newest online; exit 0 only when the controller then reports the release's versions. --latest sends nothing when the controller runs it or a newer one; an older named release needs --allow-older</source>
        <extracomment>Command-line help: the upgrade command. Keep option names literally.</extracomment>
        <translation>コントローラーをリリースに更新する：ローカル、オンライン（ダウンロードして検証）、または最新のオンラインリリース。その後コントローラーがリリースのバージョンを報告した場合だけ 0 で終了する。--latest はコントローラーが最新かそれより新しいものを実行中なら何も送らない。古いリリースを指定するには --allow-older が必要</translation>
    </message>
    <message id="CliUpgradeLatest">
        <source>the newest online release</source>
        <extracomment>Command-line help: upgrade --latest.</extracomment>
        <translation>最新のオンラインリリース</translation>
    </message>
    <message id="CliUpgradeLocal">
        <source>a local release</source>
        <extracomment>Command-line help: upgrade --local.</extracomment>
        <translation>ローカルのリリース</translation>
    </message>
    <message id="CliUpgradeNeedsOneSource">
        <source>upgrade needs one of --local VERSION, --online VERSION or --latest</source>
        <extracomment>Command-line usage error: upgrade needs exactly one release source. Keep option names literally.</extracomment>
        <translation>upgrade には --local VERSION、--online VERSION、--latest のいずれか 1 つが必要です</translation>
    </message>
    <message id="CliUpgradeOnline">
        <source>an online release, downloaded and checked</source>
        <extracomment>Command-line help: upgrade --online.</extracomment>
        <translation>オンラインのリリース（ダウンロードして検証）</translation>
    </message>
    <message id="CliUsageError">
        <source>Usage error: %1</source>
        <extracomment>Command-line tools: a usage problem. %1 = details of the problem.</extracomment>
        <translation>使用方法エラー：%1</translation>
    </message>
    <message id="CliVersionsHelp">
        <source>print the controller's versions (boot-left-right) and device information</source>
        <extracomment>Command-line help: the versions command.</extracomment>
        <translation>コントローラーのバージョン（boot-left-right）とデバイス情報を表示する</translation>
    </message>
    <message id="CliVersionsJson">
        <source>the same fields as one JSON object</source>
        <extracomment>Command-line help: versions --json.</extracomment>
        <translation>同じ項目を 1 つの JSON オブジェクトで出力する</translation>
    </message>
    <message id="Close">
        <source>Close</source>
        <extracomment>Accessible name of every close button.</extracomment>
        <translation>閉じる</translation>
    </message>
    <message id="CloseDescription">
        <source>Closes this and goes back</source>
        <extracomment>Accessible description of every close button (the Escape key does the same).</extracomment>
        <translation>閉じて前の画面に戻ります</translation>
    </message>
    <message id="CloseUpgradeViewAlertMessage">
        <source>The firmware upgrade is in progress. Please wait until it has finished.</source>
        <extracomment>Toast (1.5 s) when the user tries to close the upgrade screen while an upgrade is running.</extracomment>
        <translation>ファームウェアを更新中です。完了するまでお待ちください。</translation>
    </message>
    <message id="Confirm">
        <source>Confirm</source>
        <extracomment>Button of the 'open the App Store' alert on the game list page; leaves the application for the App Store.</extracomment>
        <translation>OK</translation>
    </message>
    <message id="ConnectControllerToComputerPrompt">
        <source>Connect the Q3 Dart controller to this computer</source>
        <extracomment>Toast (1.5 s) when the upgrade or the key test is asked for while no controller is attached to this computer.</extracomment>
        <translation>Q3 Dart コントローラーをこのコンピューターに接続してください</translation>
    </message>
    <message id="ConnectGamepadPropmt">
        <source>Please connect the Q3 Dart controller.</source>
        <extracomment>Home screen: prompt asking the user to attach the controller. Also a toast (3 s) when the upgrade button is pressed with no controller connected.</extracomment>
        <translation>Q3 Dartコントローラーを接続してください。</translation>
    </message>
    <message id="ControllerDidNotReturn">
        <source>The controller did not come back after restarting. Please check the connection and try again.</source>
        <extracomment>Upgrade engine / command-line: after an expected restart the controller did not reconnect within the wait time.</extracomment>
        <translation>再起動後にコントローラーが再接続されませんでした。接続を確認して、もう一度お試しください。</translation>
    </message>
    <message id="ControllerIdentity">
        <source>Controller %1 · hardware %2 · protocol %3 · made %4</source>
        <extracomment>Who the attached controller is: %1 = Bluetooth address, %2 = hardware version, %3 = protocol version, %4 = production date (YYYY-MM-DD).</extracomment>
        <translation>コントローラー %1 · ハードウェア %2 · プロトコル %3 · 製造日 %4</translation>
    </message>
    <message id="CurrentVersion">
        <source>Current version</source>
        <extracomment>Connected and upgrade screens: caption of the controller's current firmware version (followed by the ':' text).</extracomment>
        <translation>現在のバージョン</translation>
    </message>
    <message id="DeviceArgumentInvalid">
        <source>Invalid device "%1". Use sim, tcp:HOST:PORT or serial:PATH.</source>
        <extracomment>Command-line: the --device value is not one of the accepted forms. %1 = the value given. Keep sim, tcp:HOST:PORT and serial:PATH literally.</extracomment>
        <translation>デバイスの指定「%1」は無効です。sim、tcp:HOST:PORT、serial:PATH のいずれかを指定してください。</translation>
    </message>
    <message id="DeviceCannotUpgrade">
        <source>The controller refused the firmware upgrade</source>
        <extracomment>Toast when the controller refuses to start receiving a left-side or boot loader image.</extracomment>
        <translation>コントローラーがファームウェアの更新を拒否しました</translation>
    </message>
    <message id="DifferentControllerReturned">
        <source>A different controller came back after the restart. Nothing was sent to it; reconnect the controller you started the upgrade on and try again.</source>
        <extracomment>Upgrade failure: after a restart, a controller with another Bluetooth address answered; the run stops.</extracomment>
        <translation>再起動後に別のコントローラーが接続されました。そのコントローラーには何も送信していません。更新を始めたコントローラーを接続し直して、もう一度お試しください。</translation>
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
        <translation>ダウンロードしたファームウェアが破損しているため（チェックサムが一致しません）、削除しました。もう一度お試しください。</translation>
    </message>
    <message id="DownloadFirmwareFailed">
        <source>Firmware download failed. Please check your network connection and try again.</source>
        <extracomment>Toast (3 s) when downloading an online firmware release fails.</extracomment>
        <translation>ファームウェアのダウンロードに失敗しました。ネットワーク接続を確認して、もう一度お試しください。</translation>
    </message>
    <message id="DownloadNameRefused">
        <source>The firmware server offered the release under a file name that cannot be used ("%1"), so nothing was downloaded. Please tell the server's operator.</source>
        <extracomment>Upgrade failure when the server's file name for a release archive is refused (empty, hidden, or that of the application's own records or another release's archive); %1 = the name the server gave. Nothing was written.</extracomment>
        <translation>ファームウェアサーバーが使用できないファイル名（「%1」）でリリースを提供したため、何もダウンロードしていません。サーバーの管理者にお知らせください。</translation>
    </message>
    <message id="DownloadTooLarge">
        <source>The firmware download is larger than %1 MiB and was stopped.</source>
        <extracomment>A release archive download exceeds the size limit; %1 = the limit in MiB.</extracomment>
        <translation>ファームウェアのダウンロードが %1 MiB を超えたため中止しました。</translation>
    </message>
    <message id="DownloadWriteFailed">
        <source>The firmware could not be saved in the documents folder (%1). Free some disk space and try again.</source>
        <extracomment>Upgrade failure when a downloaded release archive, or its unpacked images, cannot be written to the documents folder (a full disk, no permission); %1 = the reason, in English (e.g. 'cannot write /home/u/Documents/1.2-1.3-1.4.zip: No space left on device'). Nothing was sent to the controller.</extracomment>
        <translation>ファームウェアを書類フォルダーに保存できませんでした（%1）。ディスクの空き容量を確保して、もう一度お試しください。</translation>
    </message>
    <message id="EmptyFirmware">
        <source>No firmware available</source>
        <extracomment>Firmware list overlay: shown instead of rows when the local or online list is empty.</extracomment>
        <translation>利用可能なファームウェアがありません</translation>
    </message>
    <message id="FirmwareIsInvalid">
        <source>The firmware file is invalid or cannot be read.</source>
        <extracomment>Toast (1.5 s) when a firmware image file is missing or unreadable at the start of a transfer.</extracomment>
        <translation>ファームウェアファイルが無効か、読み込めません。</translation>
    </message>
    <message id="FirmwareTooLarge">
        <source>The firmware file %1 is too large for the controller.</source>
        <extracomment>An image is too large for its region on the controller (65536 bytes or more); the transfer is refused. %1 = file name.</extracomment>
        <translation>ファームウェアファイル %1 はコントローラーには大きすぎます。</translation>
    </message>
    <message id="FirmwareUpgrade">
        <source>Firmware Upgrade</source>
        <extracomment>Connected screen: caption of the button that opens the upgrade screen.</extracomment>
        <translation>ファームウェア更新</translation>
    </message>
    <message id="FirmwareUpgradeDescription">
        <source>Choose a release and bring the controller's firmware up to date</source>
        <extracomment>Accessible description of the connected screen's upgrade tile.</extracomment>
        <translation>ファームウェアを選んでコントローラーを更新します</translation>
    </message>
    <message id="FirmwareVersionSamePropmt">
        <source>The controller already has this firmware version. No upgrade is needed.</source>
        <extracomment>Upgrade screen: toast (3 s) when the chosen release matches the controller's versions.</extracomment>
        <translation>コントローラーはすでにこのファームウェアバージョンです。更新の必要はありません。</translation>
    </message>
    <message id="FlashImagesSent">
        <source>All firmware images were accepted. The controller now reports version %1.</source>
        <extracomment>Command-line: every image was acknowledged by the controller. %1 = the controller's version text now (boot-left-right).</extracomment>
        <translation>すべてのファームウェアイメージが受け入れられました。コントローラーのバージョンは %1 です。</translation>
    </message>
    <message id="GameControllerLibraryMissing">
        <source>the controller library could not be loaded (%1)</source>
        <extracomment>Game controllers: reason shown in GameControllersUnavailable when the controller library cannot be loaded. %1 = the system's reason (in English), naming the file or the function that is missing.</extracomment>
        <translation>コントローラーライブラリを読み込めませんでした（%1）</translation>
    </message>
    <message id="GameControllerMappingsUnreadable">
        <source>The game controller mappings in %1 cannot be used: %2</source>
        <extracomment>Game controllers: the mapping file could not be read. %1 = its path; %2 = the reason.</extracomment>
        <translation>%1 のコントローラー割り当てを使用できません：%2</translation>
    </message>
    <message id="GameControllerSourceBusy">
        <source>another part of the program is already reading the controllers</source>
        <extracomment>Game controllers: reason shown in GameControllersUnavailable when another part of the program already reads the controllers.</extracomment>
        <translation>プログラムの別の部分がすでにコントローラーを読み取っています</translation>
    </message>
    <message id="GameControllersUnavailable">
        <source>Game controllers cannot be used: %1</source>
        <extracomment>Game controllers: the machine's own controllers cannot be followed; virtual controllers still work. %1 = the reason (often a text from the controller library, in English).</extracomment>
        <translation>ゲームコントローラーを使用できません：%1</translation>
    </message>
    <message id="GamepadDisconnectByUpgradingFirmwarePrompt">
        <source>The controller is restarting as part of the upgrade. Please keep it connected.</source>
        <extracomment>Upgrade screen: warning line when the controller drops off for its expected restart during an upgrade.</extracomment>
        <translation>更新のためコントローラーを再起動しています。接続したままお待ちください。</translation>
    </message>
    <message id="GamepadDisconnectManuallyPrompt">
        <source>The controller has been disconnected.</source>
        <extracomment>Toast (3 s) when the controller is unplugged; also the upgrade screen's warning line after an unexpected disconnection.</extracomment>
        <translation>コントローラーの接続が切断されました。</translation>
    </message>
    <message id="GamepadFirmwareDamaged">
        <source>Unable to read the controller's firmware version. Its firmware may be damaged.</source>
        <extracomment>Upgrade screen: toast (3 s) when a release is chosen but the controller's versions have not been read.</extracomment>
        <translation>コントローラーのファームウェアバージョンを読み取れません。ファームウェアが破損している可能性があります。</translation>
    </message>
    <message id="GettingStarted">
        <source>Getting Started</source>
        <extracomment>Home screen: title of the button that opens the tutorial page.</extracomment>
        <translation>はじめに</translation>
    </message>
    <message id="HistoryController">
        <source>controller %1</source>
        <extracomment>Upgrade history: the Bluetooth address of the controller a run was for; %1 = the address.</extracomment>
        <translation>コントローラー %1</translation>
    </message>
    <message id="HistoryEmpty">
        <source>No upgrade has been recorded yet.</source>
        <extracomment>Command-line: the history command found no recorded upgrade runs.</extracomment>
        <translation>更新の記録はまだありません。</translation>
    </message>
    <message id="HistoryFiles">
        <source>Image files</source>
        <extracomment>Upgrade history: a run that sent loose image files rather than a release.</extracomment>
        <translation>イメージファイル</translation>
    </message>
    <message id="HistoryRelease">
        <source>Release %1</source>
        <extracomment>Upgrade history: the release a run installed. %1 = its version, boot-left-right.</extracomment>
        <translation>リリース %1</translation>
    </message>
    <message id="HistoryUnreadable">
        <source>The upgrade history %1 cannot be read.</source>
        <extracomment>Command-line: the upgrade history file exists but cannot be read. %1 = the file's path.</extracomment>
        <translation>更新履歴 %1 を読み取れません。</translation>
    </message>
    <message id="HistoryVersions">
        <source>Versions %1 → %2</source>
        <extracomment>Upgrade history: the controller's versions before and after a run. %1 = before, %2 = after; ? where unknown.</extracomment>
        <translation>バージョン %1 → %2</translation>
    </message>
    <message id="ImportCopyFailed">
        <source>The firmware package could not be written to the application's folder (%1). Nothing was imported; check the free disk space and try again.</source>
        <extracomment>Toast (3 s) when importing a firmware package fails on the application's side: its copy or its unpacked files cannot be written (disk full, a file in the way); %1 = the system's reason, in English (e.g. 'No space left on device'). The release folder is left as it was.</extracomment>
        <translation>ファームウェアパッケージをアプリケーションのフォルダーに書き込めませんでした（%1）。何も取り込まれていません。ディスクの空き容量を確認して、もう一度お試しください。</translation>
    </message>
    <message id="ImportReadFailed">
        <source>The file could not be read (%1). Nothing was imported.</source>
        <extracomment>Toast (3 s) when a firmware package opened into the application cannot be read (missing, no permission, a read error); %1 = the system's reason, in English.</extracomment>
        <translation>ファイルを読み込めませんでした（%1）。何も取り込まれていません。</translation>
    </message>
    <message id="CryptoLibraryUnavailable">
        <source>The cryptography library could not be loaded (%1): no file digest can be computed and no release signature checked. Install OpenSSL's libcrypto 3 and start again.</source>
        <extracomment>Any program, when a file digest or a release signature is first needed: libcrypto, loaded then, is missing or incomplete; %1 = the system loader's text naming the file. Digests and signature checks fail until it is installed.</extracomment>
        <translation>暗号ライブラリを読み込めませんでした（%1）。ファイルのダイジェストを計算できず、リリースの署名も確認できません。OpenSSL の libcrypto 3 をインストールしてから起動し直してください。</translation>
    </message>
    <message id="InfoKeysInvalid">
        <source>The information dictionary's %1 holds an entry that is not the base64 of a 32-byte Ed25519 public key ("%2"). Correct it before starting again: no release can be trusted until then.</source>
        <extracomment>Start-up (application and command line): the information dictionary's trusted-key array is malformed; %1 = the key (Q3DartReleaseKeys or Q3DartRootKeys), %2 = the bad entry. The program stops.</extracomment>
        <translation>情報辞書の %1 に、32 バイトの Ed25519 公開鍵の base64 ではない項目があります（「%2」）。修正してから起動し直してください。それまではどのリリースも信頼できません。</translation>
    </message>
    <message id="Joystick">
        <source>Joysticks</source>
        <extracomment>Key test screen: caption of the two sticks' section.</extracomment>
        <translation>ジョイスティック</translation>
    </message>
    <message id="JumpToAppStorePrompt">
        <source>Open this game's store page in your web browser?</source>
        <extracomment>Games page: question before a store link opens in the web browser, when the link names no game.</extracomment>
        <translation>このゲームのストアページをウェブブラウザーで開きますか？</translation>
    </message>
    <message id="KeyHome">
        <source>Home</source>
        <extracomment>Title of the home key on the key test screen</extracomment>
        <translation>ホーム</translation>
    </message>
    <message id="KeyMenu">
        <source>Menu</source>
        <extracomment>Title of the menu key on the key test screen</extracomment>
        <translation>メニュー</translation>
    </message>
    <message id="KeyOptions">
        <source>Options</source>
        <extracomment>Title of the options key on the key test screen</extracomment>
        <translation>オプション</translation>
    </message>
    <message id="KeyTest">
        <source>Key Test</source>
        <extracomment>Connected screen: caption of the button that opens the key test screen.</extracomment>
        <translation>キーテスト</translation>
    </message>
    <message id="KeyTestDescription">
        <source>Check every key and both sticks of the controller</source>
        <extracomment>Accessible description of the connected screen's key test tile.</extracomment>
        <translation>コントローラーのすべてのキーと両スティックを確認します</translation>
    </message>
    <message id="KeyTestListening">
        <source>Listening for game controllers; press Ctrl+C to stop.</source>
        <extracomment>Command-line key test: shown on standard error when it starts listening.</extracomment>
        <translation>ゲームコントローラーを待機しています。Ctrl+C で終了します。</translation>
    </message>
    <message id="LatestVersion">
        <source>Latest version</source>
        <extracomment>Connected and upgrade screens: caption of the newest online firmware version (followed by the ':' text).</extracomment>
        <translation>最新バージョン</translation>
    </message>
    <message id="LeftKeys">
        <source>Left Keys</source>
        <extracomment>Key test screen: caption of the left-side keys section.</extracomment>
        <translation>左側キー</translation>
    </message>
    <message id="LightColour">
        <source>Light</source>
        <extracomment>Key test screen: button that sets the controller's light to the next colour.</extracomment>
        <translation>ライト</translation>
    </message>
    <message id="LightRefused">
        <source>%1 did not accept the light colour.</source>
        <extracomment>Key test screen: the controller refused to set its light. %1 = controller name.</extracomment>
        <translation>%1 がライトの色を受け付けませんでした。</translation>
    </message>
    <message id="LocalFirmware">
        <source>Local Firmware</source>
        <extracomment>Upgrade screen: title of the button that opens the list of releases stored on this device.</extracomment>
        <translation>ローカルから</translation>
    </message>
    <message id="MFiGame">
        <source>Supported Games</source>
        <extracomment>Home screen: title of the button that opens the list of supported games; connected screen: caption of the same button; the games page's title.</extracomment>
        <translation>対応ゲーム</translation>
    </message>
    <message id="MFiGameDescription">
        <source>Games that support the controller</source>
        <extracomment>Accessible description of the buttons that open the game list.</extracomment>
        <translation>コントローラー対応のゲーム</translation>
    </message>
    <message id="MappingFileTooLarge">
        <source>the file is larger than 16 MB</source>
        <extracomment>Game controllers: reason shown in GameControllerMappingsUnreadable when the mapping file is too large.</extracomment>
        <translation>ファイルが 16 MB を超えています</translation>
    </message>
    <message id="NetworkModuleMissing">
        <source>The network component of the app (%1) is missing: it was looked for in %2. Reinstalling the app should restore it.</source>
        <extracomment>An HTTP request (release list, download) or a demo server could not start because the network component is not installed; %1 = its file name, %2 = the places looked in.</extracomment>
        <translation>アプリのネットワーク コンポーネント（%1）が見つかりません。検索した場所：%2。アプリを再インストールすると復元されます。</translation>
    </message>
    <message id="NetworkModuleUnusable">
        <source>The network component of the app (%1) cannot be loaded: %2. Reinstalling the app should restore it.</source>
        <extracomment>An HTTP request or a demo server could not start because the network component is damaged; %1 = its file, %2 = the system loader's reason.</extracomment>
        <translation>アプリのネットワーク コンポーネント（%1）を読み込めません：%2。アプリを再インストールすると復元されます。</translation>
    </message>
    <message id="NoControllerAnswered">
        <source>No device on %1 answered as a controller within %3 s. Devices tried: %2</source>
        <extracomment>Command-line: with no device named, every USB serial device was asked for its versions and none answered. %1 = the transport (usb-serial); %2 = the devices asked, comma-separated; %3 = the wait in seconds.</extracomment>
        <translation>%3 秒以内に %1 上のデバイスはコントローラーとして応答しませんでした。試したデバイス：%2</translation>
    </message>
    <message id="NoControllerAttached">
        <source>No controller was found on %1 within %3 s. %2</source>
        <extracomment>Command-line / engine: no controller appeared on the chosen device in time. %1 = device description (e.g. tcp:127.0.0.1:5000); %2 = the transport's last error text, may be empty; %3 = the wait in seconds.</extracomment>
        <translation>%3 秒以内に %1 でコントローラーが見つかりませんでした。%2</translation>
    </message>
    <message id="NoControllerConnected">
        <source>No game controller is connected.</source>
        <extracomment>Key test screen: the analogue panel when no controller is connected.</extracomment>
        <translation>コントローラーが接続されていません。</translation>
    </message>
    <message id="NoNewerVersion">
        <source>No newer version</source>
        <extracomment>Connected and upgrade screens: shown as the latest version when the firmware server answered with no release the controller can take (a server that could not be reached shows ServerUnreachable instead).</extracomment>
        <translation>新しいバージョンはありません</translation>
    </message>
    <message id="NoRumbleController">
        <source>No connected game controller has rumble motors.</source>
        <extracomment>Command-line rumble: no connected controller has motors.</extracomment>
        <translation>振動モーターを備えたコントローラーが接続されていません。</translation>
    </message>
    <message id="OlderReleaseConfirm">
        <source>Install older version %1? The controller runs %2, which is newer in some part; what it gains there is lost.</source>
        <extracomment>Upgrade screen question before an older release is installed; %1 = the release, %2 = the controller's versions.</extracomment>
        <translation>古いバージョン %1 をインストールしますか？コントローラーの %2 は一部が新しく、その分の改良は失われます。</translation>
    </message>
    <message id="OlderVersionRefused">
        <source>Release %1 is older than the controller's firmware %2. Add --allow-older to install it anyway.</source>
        <extracomment>Command-line: upgrade to a release older than the controller's firmware without --allow-older. %1 = the release's version; %2 = the controller's version (boot-left-right).</extracomment>
        <translation>リリース %1 はコントローラーのファームウェア %2 より古いです。それでもインストールするには --allow-older を付けてください。</translation>
    </message>
    <message id="OnlineFirmware">
        <source>Online Firmware</source>
        <extracomment>Upgrade screen: title of the button that opens the list of releases offered by the firmware server.</extracomment>
        <translation>オンラインから</translation>
    </message>
    <message id="OutcomeCancelled">
        <source>Cancelled</source>
        <extracomment>Upgrade history: a run that was cancelled.</extracomment>
        <translation>キャンセル</translation>
    </message>
    <message id="OutcomeCompleted">
        <source>Completed</source>
        <extracomment>Upgrade history: a run that completed, its versions read back.</extracomment>
        <translation>完了</translation>
    </message>
    <message id="OutcomeFailed">
        <source>Failed</source>
        <extracomment>Upgrade history: a run that failed.</extracomment>
        <translation>失敗</translation>
    </message>
    <message id="PadChoice">
        <source>%1 (player %2)</source>
        <extracomment>Key test screen: an entry of the controller choice. %1 = controller name; %2 = player index.</extracomment>
        <translation>%1（プレイヤー %2）</translation>
    </message>
    <message id="PhaseBootLoader">
        <source>Sending the boot loader…</source>
        <extracomment>Upgrade screen: the run sends the boot loader image.</extracomment>
        <translation>ブートローダーを送信中…</translation>
    </message>
    <message id="PhaseDigestCheck">
        <source>Checking the download…</source>
        <extracomment>Upgrade screen: the downloaded archive's checksum is being checked.</extracomment>
        <translation>ダウンロードを確認しています…</translation>
    </message>
    <message id="PhaseDownload">
        <source>Downloading the firmware…</source>
        <extracomment>Upgrade screen: the run is downloading the release.</extracomment>
        <translation>ファームウェアをダウンロードしています…</translation>
    </message>
    <message id="PhaseDownloadProgress">
        <source>Downloading the firmware… %1%</source>
        <extracomment>Upgrade screen: the run is downloading the release. %1 = percent received, a whole number.</extracomment>
        <translation>ファームウェアをダウンロードしています… %1%</translation>
    </message>
    <message id="PhaseDownloadSize">
        <source>Downloading the firmware: %1 of %2</source>
        <extracomment>Upgrade screen: the run downloads the release; %1 = size received, %2 = the archive's size (such as 1.2 MB).</extracomment>
        <translation>ファームウェアをダウンロード中：%1 / %2</translation>
    </message>
    <message id="PhaseLeft">
        <source>Sending the left side's firmware…</source>
        <extracomment>Upgrade screen: the run sends the left side's image.</extracomment>
        <translation>左側のファームウェアを送信中…</translation>
    </message>
    <message id="PhaseRestart">
        <source>Waiting for the controller to restart…</source>
        <extracomment>Upgrade screen: all images were accepted; waiting for the controller to come back from its restart.</extracomment>
        <translation>コントローラーの再起動を待っています…</translation>
    </message>
    <message id="PhaseRight">
        <source>Sending the right side's firmware…</source>
        <extracomment>Upgrade screen: the run sends the right side's image.</extracomment>
        <translation>右側のファームウェアを送信中…</translation>
    </message>
    <message id="PhaseUnpack">
        <source>Unpacking the firmware…</source>
        <extracomment>Upgrade screen: the release archive is being unpacked.</extracomment>
        <translation>ファームウェアを展開しています…</translation>
    </message>
    <message id="PhaseVersions">
        <source>Reading the controller's versions…</source>
        <extracomment>Upgrade screen: the controller's versions are read back to confirm the upgrade.</extracomment>
        <translation>コントローラーのバージョンを読み取っています…</translation>
    </message>
    <message id="PlayerIndex">
        <source>player %1</source>
        <extracomment>Key test screen: identity line. %1 = the controller's player index.</extracomment>
        <translation>プレイヤー %1</translation>
    </message>
    <message id="QuitAnyway">
        <source>Quit anyway</source>
        <extracomment>Button of the question when the window is closed during an upgrade: closes the window and stops the upgrade.</extracomment>
        <translation>終了する</translation>
    </message>
    <message id="QuitDuringUpgradePrompt">
        <source>A firmware upgrade is running. Quitting now leaves the controller unfinished; it may need the upgrade again.</source>
        <extracomment>Question when the window is closed while an upgrade runs.</extracomment>
        <translation>ファームウェアを更新中です。今終了するとコントローラーの更新が途中で止まり、再度更新が必要になる場合があります。</translation>
    </message>
    <message id="ReleaseKeySetExpired">
        <source>The release key set expired on %1, so the release list was refused.</source>
        <extracomment>Command line and upgrade screens: the key set signed by the root has expired; %1 = its expiry time (UTC, ISO 8601).</extracomment>
        <translation>リリース鍵セットは %1 に期限切れになっているため、リリース一覧を拒否しました。</translation>
    </message>
    <message id="ReleaseKeySetInvalid">
        <source>The release key set is not signed by a trusted root key, so the release list was refused.</source>
        <extracomment>Command line and upgrade screens: a root key is trusted and the key set (keys.json) is missing, malformed or not signed by a trusted root; the release list is not used.</extracomment>
        <translation>リリース鍵セットが信頼されたルート鍵で署名されていないため、リリース一覧を拒否しました。</translation>
    </message>
    <message id="ReleaseKeySetRollback">
        <source>The release key set (version %1) is older than one already accepted from this server (version %2), so the release list was refused.</source>
        <extracomment>Command line and upgrade screens: the key set is older than one accepted before from the same server; %1 = its version, %2 = the version accepted before.</extracomment>
        <translation>リリース鍵セット（バージョン %1）は、このサーバーから以前受け入れた鍵セット（バージョン %2）より古いため、リリース一覧を拒否しました。</translation>
    </message>
    <message id="ReleaseLacksImage">
        <source>The release's package lacks a firmware image (%1), so nothing was sent. Its download is forgotten: the next try downloads it anew.</source>
        <extracomment>Upgrade failure (toast, upgrade screen, command line) when an online release's unpacked download lacks an image file; %1 = the missing file names (e.g. 'V7E_ISP.bin'). Its download record is dropped, so the next try downloads it again. The controller was not touched.</extracomment>
        <translation>このリリースのパッケージにはファームウェアイメージ（%1）が欠けているため、何も送信していません。ダウンロードの記録は消去されました。次回の試行で改めてダウンロードします。</translation>
    </message>
    <message id="ReleaseListExpired">
        <source>The release list expired on %1, so it was refused: the server may be replaying an old list.</source>
        <extracomment>Command line and upgrade screens: the signed release list has expired; %1 = its expiry time (UTC, ISO 8601).</extracomment>
        <translation>リリース一覧は %1 に期限切れになっているため、拒否しました。サーバーが古い一覧を再送している可能性があります。</translation>
    </message>
    <message id="ReleaseListFailed">
        <source>Could not get the release list: %1</source>
        <extracomment>Command line: the online release list could not be fetched; %1 = the error.</extracomment>
        <translation>リリース一覧を取得できませんでした：%1</translation>
    </message>
    <message id="ReleaseListRefused">
        <source>Release list refused</source>
        <extracomment>Connected and upgrade screens: shown as the latest version when a key or root is trusted and the online list or key set was refused (bad signature, expired, older than one seen); the upgrade screen shows the reason below it.</extracomment>
        <translation>リリース一覧を拒否しました</translation>
    </message>
    <message id="ReleaseListRollback">
        <source>The release list (version %1) is older than one already accepted from this server (version %2), so it was refused.</source>
        <extracomment>Command line and upgrade screens: the signed release list is older than one accepted before from the same server; %1 = its version, %2 = the version accepted before.</extracomment>
        <translation>リリース一覧（バージョン %1）は、このサーバーから以前受け入れた一覧（バージョン %2）より古いため、拒否しました。</translation>
    </message>
    <message id="ReleaseListSignatureInvalid">
        <source>The release list is not signed by a trusted key, so it was refused: it may not come from the vendor.</source>
        <extracomment>Command line and upgrade screens: a key or root is trusted and the online release list's signature (r1.sig) is missing or does not verify with a trusted key; nothing from the list is used.</extracomment>
        <translation>リリース一覧が信頼された鍵で署名されていないため、拒否しました。メーカーからのものではない可能性があります。</translation>
    </message>
    <message id="ReleaseListTooLarge">
        <source>The release list is larger than %1 MiB and was refused.</source>
        <extracomment>The firmware server's release list exceeds the size limit; %1 = the limit in MiB.</extracomment>
        <translation>リリース一覧が %1 MiB を超えているため、受け付けませんでした。</translation>
    </message>
    <message id="ReleaseMarkInvalid">
        <source>invalid signature</source>
        <extracomment>Firmware list: mark beside an online release whose signature no trusted key verifies.</extracomment>
        <translation>署名が無効</translation>
    </message>
    <message id="ReleaseMarkLocalFile">
        <source>not signed (local file)</source>
        <extracomment>Firmware list: after a local release's version (a package the user opened into the application); local releases are installed without a signature check.</extracomment>
        <translation>署名なし（ローカルファイル）</translation>
    </message>
    <message id="ReleaseMarkSigned">
        <source>signed</source>
        <extracomment>Firmware list: mark beside an online release whose signature a trusted key verifies.</extracomment>
        <translation>署名済み</translation>
    </message>
    <message id="ReleaseMarkUnchecked">
        <source>signed, not checked</source>
        <extracomment>Firmware list: mark beside an online release that carries a signature while no key is trusted to check it.</extracomment>
        <translation>署名あり（未検証）</translation>
    </message>
    <message id="ReleaseMarkUnsigned">
        <source>unsigned</source>
        <extracomment>Firmware list: mark beside an online release without a signature.</extracomment>
        <translation>署名なし</translation>
    </message>
    <message id="ReleaseNotFound">
        <source>Release %1 was not found.</source>
        <extracomment>Command line: no release with the version the user asked for; %1 = the version.</extracomment>
        <translation>リリース %1 が見つかりません。</translation>
    </message>
    <message id="ReleaseNotSigned">
        <source>This firmware release is not signed, so it cannot be installed. Nothing was sent to the controller.</source>
        <extracomment>Toast (3 s) and command line: a trusted release key is set and the chosen online release has no signature; nothing is downloaded, unpacked or sent.</extracomment>
        <translation>このファームウェアは署名されていないため、インストールできません。コントローラーには何も送信していません。</translation>
    </message>
    <message id="ReleaseSignatureInvalid">
        <source>This firmware release failed the signature check and may have been tampered with. Nothing of it was kept or sent to the controller.</source>
        <extracomment>Upgrade failure: the release's signature does not verify with a trusted key.</extracomment>
        <translation>このファームウェアリリースは署名の検査に合格せず、改ざんされている可能性があります。その内容は保存せず、コントローラーにも送信していません。</translation>
    </message>
    <message id="ReleaseTrustStateDamaged">
        <source>The record of accepted release lists (%1) cannot be used: %2. Every list from this server is refused until it is mended; remove the file to trust the server afresh.</source>
        <extracomment>Command line and upgrade screens: the file recording the accepted list versions cannot be used; %1 = its path, %2 = why (e.g. its field servers › http://h › list_version is not a whole number).</extracomment>
        <translation>受け入れ済みリリース一覧の記録（%1）を使用できません：%2。修復されるまで、このサーバーからの一覧はすべて拒否されます。ファイルを削除すると、サーバーを改めて信頼します。</translation>
    </message>
    <message id="ReleaseVersionUnreadable">
        <source>“%1” is not a firmware version (boot-left-right, each major.minor): this release was left out.</source>
        <extracomment>A release list entry or local release folder whose version text does not parse; %1 = the text.</extracomment>
        <translation>「%1」はファームウェアのバージョン（ブート-左-右、各部分は メジャー.マイナー）ではないため、このリリースは除外されました。</translation>
    </message>
    <message id="Retry">
        <source>Retry</source>
        <extracomment>Connected and upgrade screens: button beside 'Server unreachable'; asks the firmware server for the release list again.</extracomment>
        <translation>再試行</translation>
    </message>
    <message id="RightKeys">
        <source>Right Keys</source>
        <extracomment>Key test screen: caption of the right-side keys section.</extracomment>
        <translation>右側キー</translation>
    </message>
    <message id="Rumble">
        <source>Rumble</source>
        <extracomment>Key test screen: button that runs both motors of the controller for half a second.</extracomment>
        <translation>振動</translation>
    </message>
    <message id="RumbleRefused">
        <source>%1 did not accept the rumble request.</source>
        <extracomment>Command-line rumble / key test: the controller refused to run its motors. %1 = controller name.</extracomment>
        <translation>%1 が振動の要求を受け付けませんでした。</translation>
    </message>
    <message id="RumbleRunning">
        <source>Rumbling %1 for %2 s</source>
        <extracomment>Command-line rumble: the motors run. %1 = controller name; %2 = seconds.</extracomment>
        <translation>%1 を %2 秒間振動させています</translation>
    </message>
    <message id="RumbleTriggers">
        <source>Trigger rumble</source>
        <extracomment>Key test screen: button that runs the motors in the triggers for half a second.</extracomment>
        <translation>トリガー振動</translation>
    </message>
    <message id="SelectAFirmware">
        <source>Select a firmware version</source>
        <extracomment>Upgrade screen status line before a release is chosen; also the header of the firmware list overlay.</extracomment>
        <translation>ファームウェアを選択してください</translation>
    </message>
    <message id="SelectedDamagedFirmware">
        <source>The selected firmware is invalid. Please choose another one.</source>
        <extracomment>Upgrade screen: toast (3 s) when the chosen release's version text is malformed (or nothing usable is chosen).</extracomment>
        <translation>選択したファームウェアは無効です。別のファームウェアを選択してください。</translation>
    </message>
    <message id="SelectedFirmware">
        <source>Selected firmware</source>
        <extracomment>Upgrade screen: caption before the chosen release's version (followed by the ':' text and the version).</extracomment>
        <translation>選択したファームウェア</translation>
    </message>
    <message id="SerialNumber">
        <source>serial %1</source>
        <extracomment>Key test screen: identity line. %1 = the controller's serial number.</extracomment>
        <translation>シリアル %1</translation>
    </message>
    <message id="ServerUnreachable">
        <source>Server unreachable</source>
        <extracomment>Connected and upgrade screens: shown as the latest version when the firmware server could not be reached (or did not answer with a release list); the reason and a Retry button are shown with it. Keep it short: it stands in the version's place.</extracomment>
        <translation>サーバーに接続できません</translation>
    </message>
    <message id="ServerUnreachableReason">
        <source>Could not reach the firmware server: %1</source>
        <extracomment>Connected and upgrade screens: why the latest version is not known; %1 = the network error (English, from the system), e.g. 'Connection refused'.</extracomment>
        <translation>ファームウェアサーバーに接続できませんでした：%1</translation>
    </message>
    <message id="SleepInhibitReason">
        <source>Upgrading the controller's firmware</source>
        <extracomment>Given to the system (logind, the desktop's screen saver) as the reason it must not sleep during an upgrade; the system may show it in its power settings or when asked to suspend.</extracomment>
        <translation>コントローラーのファームウェアを更新中</translation>
    </message>
    <message id="TransferStalled">
        <source>The firmware transfer was stopped because the controller stopped responding. Please reconnect the controller and try again.</source>
        <extracomment>Upgrade engine / command-line: a transfer got no accepted reply for too long and was stopped.</extracomment>
        <translation>コントローラーから応答がないため、ファームウェアの転送を中止しました。コントローラーを接続し直して、もう一度お試しください。</translation>
    </message>
    <message id="TrustKeyInvalid">
        <source>Invalid release key "%1": give the base64 of a 32-byte Ed25519 public key.</source>
        <extracomment>Command line: the value of --trust-key is not a release public key; %1 = the value given.</extracomment>
        <translation>リリース鍵「%1」は無効です。32 バイトの Ed25519 公開鍵を base64 で指定してください。</translation>
    </message>
    <message id="TryAgain">
        <source>Try again</source>
        <extracomment>Upgrade screen: the upgrade button after a failed or cancelled run.</extracomment>
        <translation>再試行</translation>
    </message>
    <message id="Unmapped">
        <source>unmapped</source>
        <extracomment>Key test screen: identity line of a joystick that has no game-controller mapping.</extracomment>
        <translation>未割り当て</translation>
    </message>
    <message id="UnplugDevicePrompt">
        <source>The controller is not responding. Please unplug it and plug it in again.</source>
        <extracomment>Toast (4 s) when the controller does not answer the version query within 8 seconds.</extracomment>
        <translation>コントローラーが応答しません。一度取り外してから、もう一度接続してください。</translation>
    </message>
    <message id="UnzipFailed">
        <source>Unzipping failed. The firmware package is damaged or could not be unpacked.</source>
        <extracomment>Toast (3 s) when a firmware package opened into the application cannot be unpacked (damaged or not really a zip archive, too large, unsupported); the release folder is left as it was. A disk that cannot be written has ImportCopyFailed.</extracomment>
        <translation>解凍に失敗しました。ファームウェアパッケージが破損しているか、解凍できませんでした。</translation>
    </message>
    <message id="UpgradeAlreadyRunning">
        <source>Another upgrade is still running. Wait until it has ended.</source>
        <extracomment>Upgrade run / command-line: an upgrade was started while another one is still running.</extracomment>
        <translation>別の更新が実行中です。終了するまでお待ちください。</translation>
    </message>
    <message id="UpgradeCancelled">
        <source>The upgrade was cancelled.</source>
        <extracomment>Upgrade run / command-line: the reason recorded when an upgrade was cancelled (by the user, another release choice or an unplug during the download).</extracomment>
        <translation>更新はキャンセルされました。</translation>
    </message>
    <message id="UpgradeCancelledTitle">
        <source>Upgrade cancelled</source>
        <extracomment>Upgrade screen: status line after a run was cancelled; the reason is shown beneath.</extracomment>
        <translation>更新はキャンセルされました</translation>
    </message>
    <message id="UpgradeCompleted">
        <source>Upgrade completed</source>
        <extracomment>Upgrade screen status line when the progress reaches 100 %.</extracomment>
        <translation>更新が完了しました</translation>
    </message>
    <message id="UpgradeFailedNeedNewFirmware">
        <source>Upgrade failed: this firmware package is incomplete. Please import a new one.</source>
        <extracomment>Toast (3 s) when a local release folder lacks one of the three image files.</extracomment>
        <translation>更新に失敗しました。ファームウェアパッケージが不完全です。新しいパッケージを読み込んでください。</translation>
    </message>
    <message id="UpgradeFailedTitle">
        <source>Upgrade failed</source>
        <extracomment>Upgrade screen: status line after a run failed; the reason is shown beneath.</extracomment>
        <translation>更新に失敗しました</translation>
    </message>
    <message id="UpgradeHistory">
        <source>Upgrade history</source>
        <extracomment>Upgrade screen: the button that opens the list of recorded upgrade runs, and that list's title.</extracomment>
        <translation>更新履歴</translation>
    </message>
    <message id="UpgradeInfo">
        <source>What's new</source>
        <extracomment>Upgrade screen: caption of the newest release's notes (followed by the ':' text).</extracomment>
        <translation>更新内容</translation>
    </message>
    <message id="UpgradeNow">
        <source>Upgrade Now</source>
        <extracomment>Upgrade screen: title of the button that starts the upgrade.</extracomment>
        <translation>今すぐ更新</translation>
    </message>
    <message id="UpgradeSucceeded">
        <source>Upgrade completed. The controller now reports version %1.</source>
        <extracomment>Command-line: the upgrade run finished. %1 = the controller's version text now (boot-left-right).</extracomment>
        <translation>更新が完了しました。コントローラーのバージョンは %1 です。</translation>
    </message>
    <message id="UpgradeWarning">
        <source>Upgrading. Do not disconnect the controller or close the app.</source>
        <extracomment>Upgrade screen: warning line shown while an upgrade is running.</extracomment>
        <translation>更新中です。コントローラーを取り外したり、アプリを閉じたりしないでください。</translation>
    </message>
    <message id="Upgrading...">
        <source>Upgrading... </source>
        <extracomment>Upgrade screen status line during an upgrade; the code appends the percentage (e.g. 37.50%). Keep the trailing space.</extracomment>
        <translation>更新中… </translation>
    </message>
    <message id="VerdictChatter">
        <source>chatters</source>
        <extracomment>Controller check verdict: a button that bounces.</extracomment>
        <translation>チャタリング</translation>
    </message>
    <message id="VerdictGood">
        <source>good</source>
        <extracomment>Controller check verdict.</extracomment>
        <translation>良好</translation>
    </message>
    <message id="VerdictHigh">
        <source>higher than typical</source>
        <extracomment>Controller check verdict: circularity error above what is typical, not yet worn.</extracomment>
        <translation>標準より大きい</translation>
    </message>
    <message id="VerdictShort">
        <source>short</source>
        <extracomment>Controller check verdict: the range or travel falls short.</extracomment>
        <translation>不足</translation>
    </message>
    <message id="VerdictStuck">
        <source>stuck</source>
        <extracomment>Controller check verdict: a button held through the whole check.</extracomment>
        <translation>押しっぱなし</translation>
    </message>
    <message id="VerdictTypical">
        <source>typical</source>
        <extracomment>Controller check verdict: as most pads in use.</extracomment>
        <translation>標準的</translation>
    </message>
    <message id="VerdictUnknown">
        <source>not measured</source>
        <extracomment>Controller check verdict: not enough was measured.</extracomment>
        <translation>未測定</translation>
    </message>
    <message id="VerdictWorn">
        <source>worn</source>
        <extracomment>Controller check verdict.</extracomment>
        <translation>摩耗</translation>
    </message>
    <message id="VersionsMismatch">
        <source>After the upgrade the controller reports version %1, but the release is %2.</source>
        <extracomment>Command-line: versions differ after the upgrade. %1 = version the controller reports; %2 = version of the release that was installed.</extracomment>
        <translation>更新後のコントローラーのバージョンは %1 ですが、リリースのバージョンは %2 です。</translation>
    </message>
    <message id="VersionsNotRead">
        <source>The controller did not report its versions after the upgrade. Please reconnect it and check its version.</source>
        <extracomment>Upgrade run / command-line: after the images were sent the controller did not answer the version query.</extracomment>
        <translation>更新後にコントローラーがバージョンを返しませんでした。再接続してバージョンを確認してください。</translation>
    </message>
    <message id="VirtualControllerName">
        <source>Virtual controller</source>
        <extracomment>Game controllers: the name of the virtual controller used by the simulator, the demo and tests.</extracomment>
        <translation>仮想コントローラー</translation>
    </message>
    <message id="WebPageUnavailable">
        <source>This page cannot be shown: the web page component of the app is missing or damaged. Reinstalling the app should restore it.</source>
        <extracomment>Shown in place of the page on the game list and tutorial screens when the component that shows web pages is missing or cannot be loaded.</extracomment>
        <translation>このページを表示できません。アプリの Web ページ コンポーネントが見つからないか、破損しています。アプリを再インストールすると復元されます。</translation>
    </message>
    <message id="RestartWaitStopped">
        <source>Stopped waiting for the controller to restart. It keeps the images it has received; reconnect it and check its versions.</source>
        <extracomment>Upgrade screen and tools: the user stopped waiting for the controller's restart.</extracomment>
        <translation>コントローラーの再起動待ちを中止しました。受信済みのファームウェアは保持されます。再接続してバージョンを確認してください。</translation>
    </message>
    <message id="UpgradeCancelledAfterImage">
        <source>Upgrade cancelled once the image being written had ended.</source>
        <extracomment>Upgrade screen and tools: a cancel asked for during an image took effect at the image's end.</extracomment>
        <translation>書き込み中のイメージが終わった時点で更新を中止しました。</translation>
    </message>
    <message id="StepImageBootLoader">
        <source>Boot loader</source>
        <extracomment>Upgrade screen: the boot loader image in the plan and the step list.</extracomment>
        <translation>ブートローダー</translation>
    </message>
    <message id="StepImageLeft">
        <source>Left side</source>
        <extracomment>Upgrade screen: the left side's image in the plan and the step list.</extracomment>
        <translation>左側</translation>
    </message>
    <message id="StepImageRight">
        <source>Right side</source>
        <extracomment>Upgrade screen: the right side's image in the plan and the step list.</extracomment>
        <translation>右側</translation>
    </message>
    <message id="SizeAfterDownload">
        <source>size known after the download</source>
        <extracomment>Upgrade screen: an image's size before the release is downloaded.</extracomment>
        <translation>サイズはダウンロード後に判明</translation>
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
        <translation>待機を中止</translation>
    </message>
    <message id="CancelPending">
        <source>Stopping…</source>
        <extracomment>Upgrade screen: the cancel button after a cancel was asked for during an image.</extracomment>
        <translation>中止しています…</translation>
    </message>
    <message id="CancelUnavailableWhy">
        <source>An image is being written: stopping now would leave that side unable to start. Cancel is offered again when the image has ended.</source>
        <extracomment>Upgrade screen: tooltip and accessible description of the disabled cancel button.</extracomment>
        <translation>イメージを書き込み中です。今中止するとその側が起動できなくなります。イメージの書き込みが終わると再び中止できます。</translation>
    </message>
    <message id="CancelPendingWhy">
        <source>The upgrade stops when the image being written has ended.</source>
        <extracomment>Upgrade screen: tooltip of the cancel button after a cancel was asked for.</extracomment>
        <translation>書き込み中のイメージが終わると更新は停止します。</translation>
    </message>
    <message id="PlanSends">
        <source>Will send</source>
        <extracomment>Upgrade screen: caption above the images a run will send.</extracomment>
        <translation>送信するもの</translation>
    </message>
    <message id="PlanImage">
        <source>%1 (%2)</source>
        <extracomment>Upgrade screen: one image; %1 = its name, %2 = its size.</extracomment>
        <translation>%1（%2）</translation>
    </message>
    <message id="PlanSkipped">
        <source>Not sent, already up to date: %1</source>
        <extracomment>Upgrade screen: the images the controller already has; %1 = their names.</extracomment>
        <translation>送信しない（最新）：%1</translation>
    </message>
    <message id="ListSeparator">
        <source>, </source>
        <extracomment>Separator between the items of a short list.</extracomment>
        <translation>、</translation>
    </message>
    <message id="PlanDuration">
        <source>Estimated duration: about %1</source>
        <extracomment>Upgrade screen: %1 = a duration.</extracomment>
        <translation>予想所要時間：約 %1</translation>
    </message>
    <message id="PlanDurationAtLeast">
        <source>Estimated duration: at least %1</source>
        <extracomment>Upgrade screen: the estimate before the release's image sizes are known, which the images' sending will add to; %1 = a duration.</extracomment>
        <translation>予想所要時間：少なくとも %1</translation>
    </message>
    <message id="PlanSignature">
        <source>Signature: %1</source>
        <extracomment>Upgrade screen: %1 = signed, unsigned, local file…</extracomment>
        <translation>署名：%1</translation>
    </message>
    <message id="NoReleaseNotes">
        <source>This release has no notes.</source>
        <extracomment>Upgrade screen: the picked release comes without release notes.</extracomment>
        <translation>このリリースには説明がありません。</translation>
    </message>
    <message id="StepReadBack">
        <source>Reading the versions back</source>
        <extracomment>Upgrade screen step list.</extracomment>
        <translation>バージョンの読み取り</translation>
    </message>
    <message id="StepsTimeLeft">
        <source>Time left: about %1</source>
        <extracomment>Upgrade screen: the whole run's time left; %1 = a duration.</extracomment>
        <translation>残り時間：約 %1</translation>
    </message>
    <message id="CliInterruptWaitsForImage">
        <source>Interrupted: the image being written goes on to its end (or its silence limit), then the upgrade stops.</source>
        <extracomment>Command line: Ctrl-C during an image.</extracomment>
        <translation>中断しました：書き込み中のイメージは最後まで（または無応答の制限まで）続き、その後更新を停止します。</translation>
    </message>
    <message id="CliStationHelp">
        <source>run the same flash or upgrade job on every controller named with --device, all at once, each with its own run, limits, restarts and history record; succeeds only when every controller completed</source>
        <extracomment>Command-line help: the station command.</extracomment>
        <translation>--device で指定したすべてのコントローラーで同じ書き込みまたはアップデートを同時に実行します。各コントローラーは独自の実行・制限・再起動・履歴記録を持ちます。すべてのコントローラーが完了した場合のみ成功します</translation>
    </message>
    <message id="CliStationDevice">
        <source>a controller of the station (tcp:HOST:PORT, serial:PATH or sim); repeat for each</source>
        <extracomment>Command-line help: the station command's --device option.</extracomment>
        <translation>ステーションのコントローラー（tcp:HOST:PORT、serial:PATH または sim）。コントローラーごとに繰り返します</translation>
    </message>
    <message id="CliStationNeedsDevice">
        <source>station needs at least one --device</source>
        <extracomment>Command-line usage error: station was given no --device.</extracomment>
        <translation>station には少なくとも 1 つの --device が必要です</translation>
    </message>
    <message id="CliStationDeviceTwice">
        <source>%1 is named twice: each controller is named once</source>
        <extracomment>Command-line usage error: the same device was named twice for station. %1 = the device.</extracomment>
        <translation>%1 が 2 回指定されています。各コントローラーは 1 回だけ指定してください</translation>
    </message>
    <message id="CliStationNeedsAddress">
        <source>%1 does not name one controller: give tcp:HOST:PORT, serial:PATH or sim</source>
        <extracomment>Command-line usage error: station was given a device without an address (auto). %1 = the device text.</extracomment>
        <translation>%1 は 1 台のコントローラーを指していません。tcp:HOST:PORT、serial:PATH または sim を指定してください</translation>
    </message>
    <message id="CliStationNeedsJob">
        <source>station needs a job after its devices: flash … or upgrade …</source>
        <extracomment>Command-line usage error: station was given no job, or an unknown one.</extracomment>
        <translation>station にはデバイスの後にジョブが必要です：flash … または upgrade …</translation>
    </message>
    <message id="CliStationControllerFailed">
        <source>%1: %2</source>
        <extracomment>Command line, station: one controller's failure. %1 = the device (e.g. tcp:127.0.0.1:6000); %2 = the reason.</extracomment>
        <translation>%1: %2</translation>
    </message>
    <message id="CliStationSummary">
        <source>%1 of %2 controllers completed.</source>
        <extracomment>Command line, station: how many controllers completed. %1 = completed; %2 = all.</extracomment>
        <translation>%2 台中 %1 台のコントローラーが完了しました。</translation>
    </message>
    <message id="CliImportSummary">
        <source>%1 of %2 archives imported.</source>
        <extracomment>Command line, import of several archives, on standard error after the failures: how many were imported. %1 = imported; %2 = all.</extracomment>
        <translation>%2 個中 %1 個のアーカイブを取り込みました。</translation>
    </message>
    <message id="StationConnecting">
        <source>connecting…</source>
        <extracomment>Command line, station status line: the controller is not attached yet.</extracomment>
        <translation>接続中…</translation>
    </message>
    <message id="StationWaitingForDownload">
        <source>waiting for the release's download…</source>
        <extracomment>Command line, station status line: the run waits for another controller's download of the same release.</extracomment>
        <translation>リリースのダウンロードを待っています…</translation>
    </message>
    <message id="StationRunning">
        <source>%1 %2%</source>
        <extracomment>Command line, station status line during a run. %1 = what the run does (a phase text); %2 = percent done.</extracomment>
        <translation>%1 %2%</translation>
    </message>
    <message id="StationCompleted">
        <source>completed, versions %1</source>
        <extracomment>Command line, station status line: the run completed. %1 = the versions read afterwards (B-L-R).</extracomment>
        <translation>完了、バージョン %1</translation>
    </message>
    <message id="StationFailed">
        <source>failed: %1</source>
        <extracomment>Command line, station status line: the run failed. %1 = the reason.</extracomment>
        <translation>失敗：%1</translation>
    </message>
    <message id="HelpArguments">
        <source>Arguments:</source>
        <extracomment>Help of q3dart: the heading of the arguments.</extracomment>
        <translation>引数：</translation>
    </message>
    <message id="AppHelpDescription">
        <source>Q3 Dart companion: firmware versions, upgrades and key test.</source>
        <extracomment>Help of q3dart: what the program is, under the usage line.</extracomment>
        <translation>Q3 Dart コンパニオン：ファームウェアのバージョン、更新、キーテスト。</translation>
    </message>
    <message id="AppOptionSimulate">
        <source>Run against the simulated controller and the demo releases, with a throw-away documents directory.</source>
        <extracomment>Help of q3dart: the --simulate option.</extracomment>
        <translation>シミュレートしたコントローラーとデモ用リリースで動かす（書類フォルダーは使い捨て）。</translation>
    </message>
    <message id="AppOptionScreenshots">
        <source>Render every screen to PNG files in DIR and exit.</source>
        <extracomment>Help of q3dart: the --screenshots option; DIR = a folder.</extracomment>
        <translation>すべての画面を DIR に PNG ファイルとして描いて終了する。</translation>
    </message>
    <message id="AppOptionSize">
        <source>The window's size, such as 720x405 (at least that) or 1920x1080.</source>
        <extracomment>Help of q3dart: the --size option.</extracomment>
        <translation>ウインドウの大きさ（720x405 以上、例えば 1920x1080）。</translation>
    </message>
    <message id="AppOptionDevice">
        <source>The controller: sim, tcp:HOST:PORT or serial:PATH (default: the first USB serial controller).</source>
        <extracomment>Help of q3dart: the --device option; sim, tcp:HOST:PORT and serial:PATH are typed as they are.</extracomment>
        <translation>コントローラー：sim、tcp:HOST:PORT または serial:PATH（既定：最初の USB シリアルのコントローラー）。</translation>
    </message>
    <message id="AppOptionDocuments">
        <source>The documents directory.</source>
        <extracomment>Help of q3dart: the --documents option.</extracomment>
        <translation>書類フォルダー。</translation>
    </message>
    <message id="AppOptionServer">
        <source>The firmware server's base address.</source>
        <extracomment>Help of q3dart: the --server option.</extracomment>
        <translation>ファームウェアサーバーのベースアドレス。</translation>
    </message>
    <message id="AppOptionLanguage">
        <source>The language: a tag such as en, zh-Hans or ja-JP.</source>
        <extracomment>Help of q3dart: the --language option; the tags are typed as they are.</extracomment>
        <translation>言語：en、zh-Hans、ja-JP のようなタグ。</translation>
    </message>
    <message id="AppOptionMeasureStartup">
        <source>Print the time to the first shown screen and the resident memory, then exit (for benchmarks).</source>
        <extracomment>Help of q3dart: the --measure-startup option.</extracomment>
        <translation>最初の画面が出るまでの時間と常駐メモリーを表示して終了する（ベンチマーク用）。</translation>
    </message>
    <message id="AppOptionMeasureUpgrade">
        <source>With --simulate: upgrade the controller to the newest online release through the screens, print the time from the press of "Upgrade Now" to the verified outcome beside the protocol's floor, then exit (for benchmarks).</source>
        <extracomment>Help of q3dart: the --measure-upgrade option; "Upgrade Now" is the button's text (UpgradeNow).</extracomment>
        <translation>--simulate と共に：画面を通してコントローラーを最新のオンラインリリースに更新し、「今すぐ更新」を押してから検証済みの結果までの時間をプロトコルの下限と並べて表示して終了する（ベンチマーク用）。</translation>
    </message>
    <message id="AppOptionTrustKey">
        <source>Trust this release key (base64 of a raw 32-byte Ed25519 public key); repeatable. With a trusted key an online release is installed only when its signature verifies.</source>
        <extracomment>Help of q3dart: the --trust-key option.</extracomment>
        <translation>このリリース鍵を信頼する（32 バイトの Ed25519 公開鍵の base64）。繰り返し指定できる。信頼する鍵があると、オンラインのリリースは署名が検証できたときだけインストールされる。</translation>
    </message>
    <message id="AppOptionTrustRoot">
        <source>Trust this root key (base64 of a raw 32-byte Ed25519 public key, as keygen prints it); repeatable. The root certifies the release keys through the key set published beside the release list.</source>
        <extracomment>Help of q3dart: the --trust-root option; keygen is a command of q3dart-cli.</extracomment>
        <translation>このルート鍵を信頼する（keygen が表示する、32 バイトの Ed25519 公開鍵の base64）。繰り返し指定できる。ルートはリリース一覧の隣に公開される鍵セットでリリース鍵を証明する。</translation>
    </message>
    <message id="AppOptionCaFile">
        <source>Also trust the PEM certificate authorities of FILE for https.</source>
        <extracomment>Help of q3dart: the --ca-file option.</extracomment>
        <translation>https で FILE の PEM 認証局も信頼する。</translation>
    </message>
    <message id="AppArgumentArchives">
        <source>Release archives (.zip) to import.</source>
        <extracomment>Help of q3dart: the archives that may follow the options.</extracomment>
        <translation>取り込むリリースアーカイブ（.zip）。</translation>
    </message>
    <message id="SimHelpDescription">
        <source>Serves simulated Q3 Dart controllers over TCP, one per listening address; the connection carries the controller's protocol bytes. Connect with: q3dart-cli --device tcp:HOST:PORT ...</source>
        <extracomment>Help of q3dart-sim: what the program is, under the usage line; the command is typed as it is.</extracomment>
        <translation>シミュレートした Q3 Dart コントローラーを TCP で提供する（待ち受けアドレスごとに 1 台）。接続にはコントローラーのプロトコルのバイトが流れる。接続するには：q3dart-cli --device tcp:HOST:PORT ...</translation>
    </message>
    <message id="SimOptionListen">
        <source>Address to listen on (port 0 picks a free port); repeated, one controller each.</source>
        <extracomment>Help of q3dart-sim: the --listen option.</extracomment>
        <translation>待ち受けるアドレス（ポート 0 は空いているポートを選ぶ）。繰り返すと 1 つにつき 1 台。</translation>
    </message>
    <message id="SimOptionCount">
        <source>Serve N independent controllers on consecutive ports from the one --listen.</source>
        <extracomment>Help of q3dart-sim: the --count option.</extracomment>
        <translation>1 つの --listen から連続するポートで N 台の独立したコントローラーを提供する。</translation>
    </message>
    <message id="SimOptionFault">
        <source>Give one controller a fault: INDEX (0 is the first) and refuse-checksum, refuse-end or silent-end, e.g. 2:refuse-checksum; repeatable.</source>
        <extracomment>Help of q3dart-sim: the --fault option; the fault names are typed as they are.</extracomment>
        <translation>1 台のコントローラーに障害を与える：INDEX（0 が最初）と refuse-checksum、refuse-end、silent-end のいずれか。例：2:refuse-checksum。繰り返し指定できる。</translation>
    </message>
    <message id="SimOptionVersions">
        <source>Boot loader, left and right versions (default 1.0-2.3-1.5).</source>
        <extracomment>Help of q3dart-sim: the --versions option.</extracomment>
        <translation>ブートローダー、左、右のバージョン（既定 1.0-2.3-1.5）。</translation>
    </message>
    <message id="SimOptionRestartDelay">
        <source>How long a restart takes (default 1000; -1 never comes back).</source>
        <extracomment>Help of q3dart-sim: the --restart-delay option.</extracomment>
        <translation>再起動にかかる時間（既定 1000。-1 は戻ってこない）。</translation>
    </message>
    <message id="SimOptionReplyDelay">
        <source>Delay before every reply (default 0).</source>
        <extracomment>Help of q3dart-sim: the --reply-delay option.</extracomment>
        <translation>応答ごとの遅れ（既定 0）。</translation>
    </message>
    <message id="SimOptionRefuseChecksum">
        <source>Refuse the right side's checksum command.</source>
        <extracomment>Help of q3dart-sim: the --refuse-checksum option.</extracomment>
        <translation>右側のチェックサムコマンドを拒否する。</translation>
    </message>
    <message id="SimOptionRefuseEnd">
        <source>Refuse the end commands.</source>
        <extracomment>Help of q3dart-sim: the --refuse-end option.</extracomment>
        <translation>終了コマンドを拒否する。</translation>
    </message>
    <message id="SimOptionSilentEnd">
        <source>Never answer the end commands.</source>
        <extracomment>Help of q3dart-sim: the --silent-end option.</extracomment>
        <translation>終了コマンドに決して応答しない。</translation>
    </message>
    <message id="SimOptionImpostor">
        <source>After a controller's first restart, another controller (Bluetooth address AABBCCDDEEFF, these versions) answers instead and the first never comes back; every message it receives is printed as "impostor received: HEX". B-L-R: every controller; INDEX:B-L-R: controller INDEX only (0 is the first), repeatable.</source>
        <extracomment>Help of q3dart-sim: the --impostor option; "impostor received: HEX" is printed as it is.</extracomment>
        <translation>コントローラーの最初の再起動のあと、別のコントローラー（Bluetooth アドレス AABBCCDDEEFF、これらのバージョン）が代わりに応答し、最初のものは戻ってこない。それが受け取ったメッセージはすべて "impostor received: HEX" と表示される。B-L-R：すべてのコントローラー。INDEX:B-L-R：コントローラー INDEX だけ（0 が最初）、繰り返し指定できる。</translation>
    </message>
    <message id="SimOptionFlashDir">
        <source>Write the flash contents (boot.bin, left.bin, right.bin) there whenever an image has been written; with several controllers, into DIR/INDEX.</source>
        <extracomment>Help of q3dart-sim: the --flash-dir option; the file names are typed as they are.</extracomment>
        <translation>イメージが書き込まれるたびにフラッシュの内容（boot.bin、left.bin、right.bin）をそこに書き出す。複数のコントローラーでは DIR/INDEX に。</translation>
    </message>
    <message id="SimUsageRestartDelay">
        <source>--restart-delay needs a number of milliseconds, or -1</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--restart-delay にはミリ秒数か -1 を指定してください</translation>
    </message>
    <message id="SimUsageReplyDelay">
        <source>--reply-delay needs a number of milliseconds</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--reply-delay にはミリ秒数を指定してください</translation>
    </message>
    <message id="SimUsageListen">
        <source>--listen needs HOST:PORT with a numeric host address</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--listen には数値のホストアドレスで HOST:PORT を指定してください</translation>
    </message>
    <message id="SimUsageCount">
        <source>--count needs a number of controllers from 1 to %1</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are. %1 = the largest number of controllers.</extracomment>
        <translation>--count には 1 から %1 までのコントローラー数を指定してください</translation>
    </message>
    <message id="SimUsageCountListen">
        <source>--count needs exactly one --listen, the first of the consecutive ports</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--count には --listen をちょうど 1 つ（連続するポートの最初のもの）指定してください</translation>
    </message>
    <message id="SimUsageCountPorts">
        <source>--count runs past port 65535</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--count がポート 65535 を超えます</translation>
    </message>
    <message id="SimUsageTooManyListen">
        <source>--listen may be given for at most %1 controllers</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are. %1 = the largest number of controllers.</extracomment>
        <translation>--listen は最大 %1 台のコントローラーまで指定できます</translation>
    </message>
    <message id="SimUsageFault">
        <source>--fault needs INDEX:FAULT, INDEX a controller (0 is the first) and FAULT one of %1</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are. %1 = the fault names, separated by commas.</extracomment>
        <translation>--fault には INDEX:FAULT を指定してください。INDEX はコントローラー（0 が最初）、FAULT は次のいずれか：%1</translation>
    </message>
    <message id="SimUsageImpostor">
        <source>--impostor needs B-L-R, or INDEX:B-L-R for one controller (0 is the first), for example 1.0-2.2-2.3 or 2:1.0-2.2-2.3</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--impostor には B-L-R、または 1 台のコントローラーに INDEX:B-L-R（0 が最初）を指定してください。例：1.0-2.2-2.3、2:1.0-2.2-2.3</translation>
    </message>
    <message id="SimUsageImpostorTwice">
        <source>--impostor names the same controllers twice</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--impostor が同じコントローラーを 2 回指定しています</translation>
    </message>
    <message id="SimUsageVersions">
        <source>--versions needs B-L-R, for example 1.0-2.3-1.5</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--versions には B-L-R を指定してください。例：1.0-2.3-1.5</translation>
    </message>
    <message id="SimUsageFlashDir">
        <source>--flash-dir %1 cannot be created</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are. %1 = the folder.</extracomment>
        <translation>--flash-dir %1 を作成できません</translation>
    </message>
    <message id="SimCannotListen">
        <source>Cannot listen on %1: %2</source>
        <extracomment>q3dart-sim and q3dart-cli serve: a listener could not be opened. %1 = HOST:PORT, %2 = the system's reason.</extracomment>
        <translation>%1 で待ち受けできません：%2</translation>
    </message>
    <message id="FolderNotWritable">
        <source>the folder %1 is read-only</source>
        <extracomment>Why a file could not be saved: the folder (%1) cannot be written.</extracomment>
        <translation>フォルダー %1 は読み取り専用です</translation>
    </message>
    <message id="WriteFailedInFolder">
        <source>%1 (in the folder %2)</source>
        <extracomment>Why a file could not be saved: the system's reason (%1, e.g. No space left on device) and the folder (%2).</extracomment>
        <translation>%1（フォルダー %2）</translation>
    </message>
    <message id="CheckReportNotSavedBecause">
        <source>The check's report could not be saved: %1.</source>
        <extracomment>Controller check: the report file could not be written. %1 = why, with the folder.</extracomment>
        <translation>チェックのレポートを保存できませんでした：%1。</translation>
    </message>
    <message id="TrustRecordUnreadable">
        <source>it cannot be read (%1)</source>
        <extracomment>Why the record of accepted release lists cannot be used. %1 = the system's reason.</extracomment>
        <translation>読み取れません（%1）</translation>
    </message>
    <message id="TrustRecordNotJson">
        <source>it is not a JSON object</source>
        <extracomment>Why the record of accepted release lists cannot be used.</extracomment>
        <translation>JSON オブジェクトではありません</translation>
    </message>
    <message id="TrustRecordFieldInvalid">
        <source>its field %1 is not %2</source>
        <extracomment>Why the record of accepted release lists cannot be used. %1 = the field (server › field), %2 = what it must be.</extracomment>
        <translation>フィールド %1 が%2ではありません</translation>
    </message>
    <message id="TrustRecordExpectsObject">
        <source>an object</source>
        <extracomment>What a field of the record of accepted release lists must be.</extracomment>
        <translation>オブジェクト</translation>
    </message>
    <message id="TrustRecordExpectsVersion">
        <source>a whole number from 0 to 2^53</source>
        <extracomment>What a field of the record of accepted release lists must be.</extracomment>
        <translation>0 から 2^53 までの整数</translation>
    </message>
    <message id="TrustRecordExpectsKeys">
        <source>a list of base64 public keys</source>
        <extracomment>What a field of the record of accepted release lists must be.</extracomment>
        <translation>base64 公開鍵のリスト</translation>
    </message>
    <message id="TrustRecordExpectsText">
        <source>a text</source>
        <extracomment>What a field of the record of accepted release lists must be.</extracomment>
        <translation>テキスト</translation>
    </message>
    <message id="ReleaseTrustStateNotSaved">
        <source>The release list verified, but the record of accepted lists (%1) could not be saved: %2. The list was refused, so that an older one cannot be offered later.</source>
        <extracomment>Command line and upgrade screens: a verified release list could not be recorded; %1 = the record's path, %2 = why (e.g. No space left on device (in the folder …)).</extracomment>
        <translation>リリース一覧は検証されましたが、受け入れ済み一覧の記録（%1）を保存できませんでした：%2。後で古い一覧が提示されないよう、この一覧は拒否されました。</translation>
    </message>
    <message id="MetadataNotJson">
        <source>it is not a JSON object</source>
        <extracomment>Why signed release metadata is malformed.</extracomment>
        <translation>JSON オブジェクトではありません</translation>
    </message>
    <message id="MetadataBadVersion">
        <source>%1 is not a whole number from 1 to 2^53</source>
        <extracomment>Why signed release metadata is malformed; %1 = the field.</extracomment>
        <translation>%1 が 1 から 2^53 までの整数ではありません</translation>
    </message>
    <message id="MetadataBadExpiry">
        <source>%1 is not a UTC time such as 2027-01-08T09:01:24Z</source>
        <extracomment>Why signed release metadata is malformed; %1 = the field.</extracomment>
        <translation>%1 が 2027-01-08T09:01:24Z のような UTC 時刻ではありません</translation>
    </message>
    <message id="MetadataBadKeys">
        <source>%1 holds an entry that is not a public key with its key id</source>
        <extracomment>Why signed release metadata is malformed; %1 = the field.</extracomment>
        <translation>%1 に鍵 ID 付きの公開鍵ではない項目があります</translation>
    </message>
    <message id="ReleaseListMalformed">
        <source>The release list is signed by a trusted key, but malformed: %1. It was refused; please tell the server's operator.</source>
        <extracomment>Command line and upgrade screens: the release list is signed by a trusted key but cannot be read; %1 = what is wrong.</extracomment>
        <translation>リリース一覧は信頼された鍵で署名されていますが、形式が正しくありません：%1。一覧は拒否されました。サーバーの運営者にお知らせください。</translation>
    </message>
    <message id="ReleaseKeySetMalformed">
        <source>The release key set is signed by a trusted root key, but malformed: %1. The release list was refused; please tell the server's operator.</source>
        <extracomment>Command line and upgrade screens: the key set is signed by a trusted root but cannot be read; %1 = what is wrong.</extracomment>
        <translation>リリース鍵セットは信頼されたルート鍵で署名されていますが、形式が正しくありません：%1。リリース一覧は拒否されました。サーバーの運営者にお知らせください。</translation>
    </message>
    <message id="ReleaseRootInvalid">
        <source>The server's root document %1 is not signed both by the root key trusted now and by its own key, so the release list was refused.</source>
        <extracomment>Command line and upgrade screens: the server offers a next root document that does not verify; %1 = its version.</extracomment>
        <translation>サーバーのルート文書 %1 は、現在信頼しているルート鍵とそれ自身の鍵の両方で署名されていないため、リリース一覧を拒否しました。</translation>
    </message>
    <message id="ReleaseListDeadline">
        <source>The release list did not arrive within %1 s. Check your network connection, or try again later.</source>
        <extracomment>Command line and upgrade screens: the release list (or its signed metadata) did not arrive in time; %1 = seconds.</extracomment>
        <translation>リリース一覧が %1 秒以内に届きませんでした。ネットワーク接続を確認するか、後でもう一度お試しください。</translation>
    </message>
    <message id="DownloadTooSlow">
        <source>The download stayed slower than %1 KiB/s for %2 s and was stopped. Nothing was sent to the controller. Check your network connection and try again.</source>
        <extracomment>Upgrade failure: the download stayed below the rate floor; %1 = KiB per second, %2 = seconds.</extracomment>
        <translation>ダウンロードが %2 秒間 %1 KiB/s を下回ったため停止しました。コントローラーには何も送信していません。ネットワーク接続を確認して、もう一度お試しください。</translation>
    </message>
    <message id="DownloadNotSignedArchive">
        <source>The downloaded archive is not the one the signed release list names (its SHA-256 differs): it may have been replaced on the way. It was deleted and nothing was sent to the controller.</source>
        <extracomment>Upgrade failure: the downloaded archive's SHA-256 is not the one the signed release list names.</extracomment>
        <translation>ダウンロードしたアーカイブは、署名済みリリース一覧が示すものではありません（SHA-256 が異なります）。途中で差し替えられた可能性があります。アーカイブは削除し、コントローラーには何も送信していません。</translation>
    </message>
    <message id="ImageUnsendable">
        <source>The image %1 cannot be sent: %2. Nothing was sent to the controller.</source>
        <extracomment>Upgrade failure found before anything was sent: %1 = the image (its file name), %2 = why.</extracomment>
        <translation>イメージ %1 を送信できません：%2。コントローラーには何も送信していません。</translation>
    </message>
    <message id="ImageEmpty">
        <source>it is empty</source>
        <extracomment>Why an image cannot be sent.</extracomment>
        <translation>空です</translation>
    </message>
    <message id="ImageUnreadable">
        <source>it cannot be read</source>
        <extracomment>Why an image cannot be sent.</extracomment>
        <translation>読み取れません</translation>
    </message>
    <message id="ImageTooLarge">
        <source>it is larger than the %1 bytes the controller takes</source>
        <extracomment>Why an image cannot be sent: %1 = the most bytes the controller takes.</extracomment>
        <translation>コントローラーが受け付ける %1 バイトを超えています</translation>
    </message>
    <message id="DownloadRecordNotSaved">
        <source>The record of downloads could not be saved: %1. The release will be downloaded again next time.</source>
        <extracomment>The record of downloads (downloads.plist) could not be saved; the run goes on. %1 = why.</extracomment>
        <translation>ダウンロードの記録を保存できませんでした：%1。次回はリリースを再度ダウンロードします。</translation>
    </message>
    <message id="HistoryNotSaved">
        <source>The upgrade history (%1) could not be saved: %2. Its earlier records are unchanged.</source>
        <extracomment>The run's record could not be added to the upgrade history; the run's own outcome is unchanged. %1 = the history file, %2 = why (e.g. No space left on device (in the folder …)).</extracomment>
        <translation>更新履歴（%1）を保存できませんでした：%2。以前の記録は変更されていません。</translation>
    </message>
    <message id="NoInstallableRelease">
        <source>The firmware server offers no release that may be installed: none is signed by a trusted key.</source>
        <extracomment>Command line: --latest found releases, but none may be installed (none is signed by a trusted key).</extracomment>
        <translation>ファームウェアサーバーには、インストールできるリリースがありません：信頼された鍵で署名されたものがありません。</translation>
    </message>
    <message id="CliOptionListDeadline">
        <source>Give up on the release list (and its signed metadata) when a request takes longer than SECONDS (default 60).</source>
        <extracomment>q3dart-cli option --list-deadline SECONDS.</extracomment>
        <translation>リリース一覧（とその署名済みメタデータ）の要求が SECONDS 秒を超えたら中止します（既定は 60）。</translation>
    </message>
    <message id="CliOptionStallLimit">
        <source>Stop a release download that stays slower than 1 KiB/s for SECONDS (default 30).</source>
        <extracomment>q3dart-cli option --stall-limit SECONDS.</extracomment>
        <translation>リリースのダウンロードが SECONDS 秒間 1 KiB/s を下回ったら停止します（既定は 30）。</translation>
    </message>
    <message id="CliSignRootHelp">
        <source>Write the site's next root document: one version above its current root, naming the new root key, signed by the current root key and by the new one. Clients that pin the first root follow the chain; sign key sets with the new root from then on.</source>
        <extracomment>q3dart-cli sign-root: what the command does.</extracomment>
        <translation>サイトの次のルート文書を書き出します：現在のルートより 1 つ上のバージョンで新しいルート鍵を示し、現在のルート鍵と新しい鍵の両方で署名します。最初のルートを固定したクライアントはこの連鎖をたどります。以後、鍵セットは新しいルートで署名してください。</translation>
    </message>
    <message id="CliSignRootCurrent">
        <source>The current root's private key (PEM): the pinned root, or the last one the site handed over to.</source>
        <extracomment>q3dart-cli sign-root option --root-key FILE.</extracomment>
        <translation>現在のルートの秘密鍵（PEM）：固定されたルート、またはサイトが最後に引き継いだルート。</translation>
    </message>
    <message id="CliSignRootNext">
        <source>The private key (PEM) of the root that takes over.</source>
        <extracomment>q3dart-cli sign-root option --new-root-key FILE.</extracomment>
        <translation>引き継ぐルートの秘密鍵（PEM）。</translation>
    </message>
    <message id="OutcomeNothingInstalled">
        <source>Nothing was installed.</source>
        <extracomment>Said after why an upgrade did not complete, when no image was begun or the controller reports none of them.</extracomment>
        <translation>何もインストールされていません。</translation>
    </message>
    <message id="OutcomeInstalled">
        <source>Installed: %1.</source>
        <extracomment>Said after why an upgrade did not complete: the parts the controller now runs of it, with their versions; %1 = e.g. 'Boot loader 2.1, Left side 2.2'.</extracomment>
        <translation>インストール済み：%1。</translation>
    </message>
    <message id="OutcomeNotInstalled">
        <source>Not installed: %1.</source>
        <extracomment>Said after OutcomeInstalled: the parts of the upgrade the controller does not run; %1 = e.g. 'Right side'.</extracomment>
        <translation>未インストール：%1。</translation>
    </message>
    <message id="OutcomeUnknown">
        <source>The controller could not be read afterwards, so what it now runs is unknown: reconnect it and check its versions.</source>
        <extracomment>Said after why an upgrade did not complete, when an image was begun and the controller could not be asked afterwards.</extracomment>
        <translation>その後コントローラーを読み取れなかったため、現在の内容は不明です：接続し直してバージョンを確認してください。</translation>
    </message>
    <message id="OutcomeWrittenUnknown">
        <source>The controller confirmed %1, but could not be read afterwards, so what it now runs is unknown: reconnect it and check its versions.</source>
        <extracomment>Said after why an upgrade did not complete, when the controller confirmed some images but could not be asked afterwards; %1 = e.g. 'Boot loader, Left side'.</extracomment>
        <translation>コントローラーは %1 を確認しましたが、その後読み取れなかったため、現在の内容は不明です：接続し直してバージョンを確認してください。</translation>
    </message>
    <message id="CliServeThrottle">
        <source>Send no faster than KIB KiB a second (fractions allowed), to watch a download on a slow link.</source>
        <extracomment>q3dart-cli serve option --throttle KIB.</extracomment>
        <translation>毎秒 KIB KiB を超えない速さで送ります（小数可）。遅い回線でのダウンロードを確かめるためのものです。</translation>
    </message>
    <message id="CliOptionNeedsKiB">
        <source>%1 needs a number of KiB a second above 0</source>
        <extracomment>Command line usage error: %1 = the option.</extracomment>
        <translation>%1 には 0 より大きい毎秒の KiB 数が必要です</translation>
    </message>
    <message id="PhaseRestartLonger">
        <source>The controller is taking longer than usual to restart; keep it connected.</source>
        <extracomment>Upgrade screen step line: the controller restarts and has taken clearly longer than usual; the run still waits for it.</extracomment>
        <translation>コントローラーの再起動にいつもより時間がかかっています。接続したままにしてください。</translation>
    </message>
    <message id="OtherControllerAttached">
        <source>Another controller is attached (%1), not the one the upgrade was for (%2). Nothing was sent to it; press the button again to install the release on this one.</source>
        <extracomment>Upgrade failure: Try again found another controller than the one the failed run was for; %1 = the one attached, %2 = the one the run was for (Bluetooth addresses).</extracomment>
        <translation>接続されているのは別のコントローラー（%1）で、更新の対象（%2）ではありません。何も送信していません。このコントローラーにリリースをインストールするには、もう一度ボタンを押してください。</translation>
    </message>
    <message id="OtherControllerConfirm">
        <source>Another controller is attached: %1. The upgrade that did not complete was for %2. Install %3 on %1?</source>
        <extracomment>Upgrade screen question before Try again sends anything to another controller than the failed run's; %1 = the attached one, %2 = the failed run's, %3 = the release.</extracomment>
        <translation>別のコントローラーが接続されています：%1。完了しなかった更新の対象は %2 でした。%1 に %3 をインストールしますか？</translation>
    </message>
    <message id="InstallOnThisController">
        <source>Install on this controller</source>
        <extracomment>Upgrade screen: the button that confirms installing on another controller.</extracomment>
        <translation>このコントローラーにインストール</translation>
    </message>
    <message id="InstallOlderVersion">
        <source>Install older version %1</source>
        <extracomment>Upgrade screen: the button (and its question's confirm) when the picked release is older than the controller's in any part; %1 = the release.</extracomment>
        <translation>古いバージョン %1 をインストール</translation>
    </message>
    <message id="PlanOlder">
        <source>An older version than the controller's (%2): %1.</source>
        <extracomment>Upgrade screen plan, first line, when the picked release is older than the controller's in any part; %1 = the release, %2 = the controller's versions.</extracomment>
        <translation>古いバージョン：%1（コントローラーは %2）</translation>
    </message>
    <message id="ControllerNotAttached">
        <source>No controller attached</source>
        <extracomment>Upgrade screen, in the controller's place: no controller is attached now.</extracomment>
        <translation>コントローラーが接続されていません</translation>
    </message>
    <message id="StepFetch">
        <source>Download, check and unpack</source>
        <extracomment>Upgrade screen step list: the release is downloaded, its digest checked and it is unpacked.</extracomment>
        <translation>ダウンロード、検査、展開</translation>
    </message>
    <message id="StepFetchSize">
        <source>Download, check and unpack (%1)</source>
        <extracomment>Upgrade screen step list: the same with the archive's size; %1 = size.</extracomment>
        <translation>ダウンロード、検査、展開（%1）</translation>
    </message>
    <message id="StepImageThenRestart">
        <source>%1, then a restart</source>
        <extracomment>Upgrade screen plan and step list: an image after which the controller restarts; %1 = the image with its size.</extracomment>
        <translation>%1、その後再起動</translation>
    </message>
    <message id="PlanSendsSizesLater">
        <source>Will send (sizes known after the download)</source>
        <extracomment>Upgrade screen: caption above the images a run will send, when their sizes are known only after the download.</extracomment>
        <translation>送信するもの（サイズは取得後に判明）</translation>
    </message>
    <message id="SimOptionSplit">
        <source>Every reply leaves in pieces of N bytes (1 to 64), a few milliseconds apart, as a serial adapter hands them over.</source>
        <extracomment>Help of q3dart-sim: the --split option.</extracomment>
        <translation>応答はすべて N バイト（1～64）ずつの断片に分かれ、数ミリ秒おきに送られる（シリアル変換器が渡すように）。</translation>
    </message>
    <message id="SimOptionGlue">
        <source>Every reply waits up to 50 ms for the one after it and leaves glued to it in one piece (with --duplicate: each reply and its copy).</source>
        <extracomment>Help of q3dart-sim: the --glue option.</extracomment>
        <translation>応答はすべて次の応答を最大 50 ms 待ち、それとつながった一つの塊で送られる（--duplicate と併用時：各応答とその複製）。</translation>
    </message>
    <message id="SimOptionDuplicate">
        <source>Every reply is sent twice.</source>
        <extracomment>Help of q3dart-sim: the --duplicate option.</extracomment>
        <translation>応答はすべて二度送られる。</translation>
    </message>
    <message id="SimOptionStrayByte">
        <source>A byte of line noise goes out before the first reply of every attachment.</source>
        <extracomment>Help of q3dart-sim: the --stray-byte option.</extracomment>
        <translation>接続ごとの最初の応答の前に、回線ノイズの 1 バイトが送られる。</translation>
    </message>
    <message id="SimUsageSplit">
        <source>--split needs a number of bytes from 1 to 64</source>
        <extracomment>Usage error of q3dart-sim; the option name is typed as it is.</extracomment>
        <translation>--split には 1～64 のバイト数が必要です</translation>
    </message>
    <message id="SerialPortPermissionDenied">
        <source>Cannot open %1: permission denied. Install the udev rule of the q3dart package (/lib/udev/rules.d/70-q3dart.rules gives the logged-in user the controller's port) and plug the controller in again, or add yourself to the group "%2" (sudo usermod -aG %2 $USER) and log in again.</source>
        <extracomment>Shown when a serial port (the controller's) cannot be opened for want of permission. %1: the port's path, %2: the group that owns it. The command lines and file names are typed as they are.</extracomment>
        <translation>%1 を開けません：アクセス権がありません。q3dart パッケージの udev ルール（/lib/udev/rules.d/70-q3dart.rules がログイン中のユーザーにコントローラーのポートを使わせます）をインストールしてコントローラーを挿し直すか、自分をグループ "%2" に加えて（sudo usermod -aG %2 $USER）ログインし直してください。</translation>
    </message>
    <message id="UsbDeviceNotDeclared">
        <source>%1: not a declared controller</source>
        <extracomment>Why a USB serial device was not opened. %1: its vendor and product id, e.g. 2341:0043.</extracomment>
        <translation>%1：宣言されたコントローラーではありません</translation>
    </message>
    <message id="NoDeclaredUsbDevice">
        <source>no USB serial device is a declared controller (skipped: %1); add the controller's identity with --usb-id VID:PID or in ~/.config/q3dart/q3dart.conf</source>
        <extracomment>Why no controller was found among the USB serial devices. %1: the devices skipped, each with its reason; --usb-id and the file name are typed as they are.</extracomment>
        <translation>宣言されたコントローラーである USB シリアル機器がありません（スキップ：%1）。--usb-id VID:PID または ~/.config/q3dart/q3dart.conf でコントローラーの識別子を追加してください</translation>
    </message>
    <message id="CliOptionUsbId">
        <source>Also look for the controller among USB serial devices with this vendor and product id (hexadecimal, e.g. 2341:0043) when no device is named; repeatable.</source>
        <extracomment>Help of q3dart-cli: the --usb-id option.</extracomment>
        <translation>機器を指定しないとき、このベンダー ID と製品 ID（16 進、例 2341:0043）の USB シリアル機器からもコントローラーを探す。繰り返し指定できる。</translation>
    </message>
    <message id="CliOptionNeedsUsbId">
        <source>%1 needs a vendor and product id in hexadecimal, VID:PID (e.g. 2341:0043), not "%2"</source>
        <extracomment>Usage error of q3dart-cli. %1: the option (--usb-id), %2: the value given.</extracomment>
        <translation>%1 には 16 進のベンダー ID と製品 ID（VID:PID、例 2341:0043）が必要です。"%2" ではありません</translation>
    </message>
    <message id="ConfigurationUsbIdInvalid">
        <source>%1: "%2" is not a USB identity (VID:PID in hexadecimal); it is left out</source>
        <extracomment>Warning on standard error. %1: the configuration file, %2: the entry that is no USB identity.</extracomment>
        <translation>%1："%2" は USB 識別子（16 進の VID:PID）ではないため使いません</translation>
    </message>
    <message id="CliOptionRecord">
        <source>Write every message written and read on the link, with its direction and time, to FILE as JSON lines: a recording that q3dart-sim --replay answers from.</source>
        <extracomment>Help of q3dart-cli: the --record option.</extracomment>
        <translation>リンク上で書き込み・読み込みされたすべてのメッセージを、向きと時刻とともに JSON 行で FILE に書く。q3dart-sim --replay が応答に使う録音になる。</translation>
    </message>
    <message id="RecordFileNotWritten">
        <source>Cannot write the recording %1: %2</source>
        <extracomment>Error of q3dart-cli --record. %1: the file, %2: the system's reason.</extracomment>
        <translation>録音 %1 を書き込めません：%2</translation>
    </message>
    <message id="SimOptionReplay">
        <source>Answer as the controller recorded in FILE (q3dart-cli --record) did, restarting where it restarted; the first request that differs from the recording is printed as "replay: request N differs …" and nothing is answered after it.</source>
        <extracomment>Help of q3dart-sim: the --replay option; q3dart-cli --record is typed as it is.</extracomment>
        <translation>FILE に録音されたコントローラー（q3dart-cli --record）と同じように応答し、それが再起動したところで再起動する。録音と異なる最初の要求は "replay: request N differs …" と表示され、その後は何も応答しない。</translation>
    </message>
    <message id="SimUsageReplayOne">
        <source>--replay serves one recorded controller: give one --listen and no --count</source>
        <extracomment>Usage error of q3dart-sim; option names are typed as they are.</extracomment>
        <translation>--replay は録音されたコントローラーを一つだけ提供します：--listen を一つだけ指定し、--count は使わないでください</translation>
    </message>
    <message id="SimReplayUnreadable">
        <source>%1 cannot be replayed: %2</source>
        <extracomment>Error of q3dart-sim --replay. %1: the file, %2: why it cannot be read.</extracomment>
        <translation>%1 は再生できません：%2</translation>
    </message>
    <message id="CliSimulateNotice">
        <source>Simulated controller: it and the firmware it holds end with this command.</source>
        <extracomment>Command-line, standard error, once: with --simulate, the simulated controller and what it holds exist only while the command runs.</extracomment>
        <translation>シミュレートされたコントローラー：コントローラーとそのファームウェアはこのコマンドの終了とともに消えます。</translation>
    </message>
    <message id="CliSimulateNoticeRecords">
        <source>Its records (history, downloads) are thrown away too; give --documents DIR to keep them.</source>
        <extracomment>Command-line, standard error, after CliSimulateNotice when no --documents was given: the records go too.</extracomment>
        <translation>記録（履歴、ダウンロード）も破棄されます。残すには --documents DIR を指定してください。</translation>
    </message>
    <message id="CliReleasesJson">
        <source>One JSON array of the releases: source (local or online), version, notes, path, date as given, release_date (YYYY-MM-DD) and, online, signature.</source>
        <extracomment>Command-line help: releases --json.</extracomment>
        <translation>リリースを 1 つの JSON 配列で出力：source（local か online）、version、notes、path、受け取ったままの date、release_date（YYYY-MM-DD）、オンラインでは signature。</translation>
    </message>
    <message id="CliReleasesLocalHeading">
        <source>Local releases:</source>
        <extracomment>Command-line: releases without --local or --online, the heading above the local releases.</extracomment>
        <translation>ローカルのリリース：</translation>
    </message>
    <message id="CliReleasesOnlineHeading">
        <source>Online releases:</source>
        <extracomment>Command-line: releases without --local or --online, the heading above the online releases.</extracomment>
        <translation>オンラインのリリース：</translation>
    </message>
    <message id="CliReleasesNoneLocal">
        <source>No local releases. Import one with: q3dart-cli import ARCHIVE.zip</source>
        <extracomment>Command-line: releases, no local release. Standard error with --local, under its heading otherwise.</extracomment>
        <translation>ローカルのリリースはありません。取り込むには：q3dart-cli import ARCHIVE.zip</translation>
    </message>
    <message id="CliReleasesNoneOnline">
        <source>The server lists no releases.</source>
        <extracomment>Command-line: releases, the server lists no release. Standard error with --online, under its heading otherwise.</extracomment>
        <translation>サーバーにリリースはありません。</translation>
    </message>
    <message id="CliRestartCountdown">
        <source>%1 (gives up in %2 s)</source>
        <extracomment>Command-line, beside the progress bar on a terminal while the controller restarts. %1 = PhaseRestart or PhaseRestartLonger; %2 = whole seconds until the run gives up on the controller.</extracomment>
        <translation>%1（あと %2 秒で待機を打ち切ります）</translation>
    </message>
    <message id="LanguageUnavailable">
        <source>--language: the app has no texts in "%1"; it speaks %2</source>
        <extracomment>Application command line: --language names a language the app has no texts in. %1 = what was given; %2 = the languages it has, joined by ListSeparator.</extracomment>
        <translation>--language：アプリには「%1」のテキストがありません。使用できる言語は %2 です</translation>
    </message>
    <message id="ReleaseImported">
        <source>Release %1 imported</source>
        <extracomment>Toast after a release archive was imported. %1 = the release's version.</extracomment>
        <translation>リリース %1 を取り込みました</translation>
    </message>
    <message id="UnzippingFile">
        <source>Unzipping %1…</source>
        <extracomment>Toast while release archives are imported. %1 = the archive's file name, or several joined by ListSeparator.</extracomment>
        <translation>%1 を解凍中…</translation>
    </message>
    <message id="EmptyLocalFirmware">
        <source>No releases on this computer yet. Choose Import… to add a release archive (.zip), or drop one on the window.</source>
        <extracomment>Firmware list overlay: the local list when no release has been imported yet; says how to add one. The button is ImportReleases.</extracomment>
        <translation>このコンピューターにはまだリリースがありません。「取り込み…」でリリースアーカイブ（.zip）を追加するか、ウィンドウにドロップしてください。</translation>
    </message>
    <message id="ImportReleases">
        <source>Import…</source>
        <extracomment>Firmware list overlay: the local list's button that opens a file dialog for release archives.</extracomment>
        <translation>取り込み…</translation>
    </message>
    <message id="ImportReleasesDescription">
        <source>Add release archives (.zip) from this computer</source>
        <extracomment>Firmware list overlay: what the import button does, for assistive technology.</extracomment>
        <translation>このコンピューターからリリースアーカイブ（.zip）を追加します</translation>
    </message>
    <message id="ImportReleasesTitle">
        <source>Import Releases</source>
        <extracomment>Firmware list overlay: title of the file dialog that chooses release archives to import.</extracomment>
        <translation>リリースの取り込み</translation>
    </message>
    <message id="ReleaseArchives">
        <source>Release archives</source>
        <extracomment>File dialog: name of the file type of release archives (followed by the pattern *.zip).</extracomment>
        <translation>リリースアーカイブ</translation>
    </message>
    <message id="ReleaseImportedOn">
        <source>Imported %1</source>
        <extracomment>Firmware list overlay: a local release's date, the day it was imported. %1 = the date (2021-03-09).</extracomment>
        <translation>取り込み日 %1</translation>
    </message>
    <message id="ReleaseDatedOn">
        <source>Released %1</source>
        <extracomment>Firmware list overlay: an online release's release date. %1 = the date (2021-03-09).</extracomment>
        <translation>リリース日 %1</translation>
    </message>
    <message id="ReleaseMarkInstalled">
        <source>Installed</source>
        <extracomment>Firmware list overlay: mark on the release the attached controller already runs.</extracomment>
        <translation>インストール済み</translation>
    </message>
    <message id="ReleaseListLoading">
        <source>Asking the firmware server…</source>
        <extracomment>Firmware list overlay: the online list while the firmware server is asked for its releases.</extracomment>
        <translation>ファームウェアサーバーに問い合わせています…</translation>
    </message>
    <message id="WebPageOfflineNote">
        <source>The site cannot be reached, so this is the copy that came with the app.</source>
        <extracomment>Web page screens: the note above the copy of the page that ships with the app, shown when the site cannot be reached; a Retry button follows it.</extracomment>
        <translation>サイトに接続できないため、アプリに付属のコピーを表示しています。</translation>
    </message>
    <message id="WebPageRetryDescription">
        <source>Load the page from the site again</source>
        <extracomment>Web page screens: what the Retry button beside the offline note does, for assistive technology.</extracomment>
        <translation>サイトからページをもう一度読み込みます</translation>
    </message>
    <message id="NoBrowserPrompt">
        <source>No web browser could be opened. Copy the link below and open it in a browser.</source>
        <extracomment>Dialog when no web browser could be started for a link; the link follows, with a button that copies it.</extracomment>
        <translation>ウェブブラウザーを開けませんでした。下のリンクをコピーしてブラウザーで開いてください。</translation>
    </message>
    <message id="CopyLink">
        <source>Copy Link</source>
        <extracomment>Button that copies a link to the clipboard.</extracomment>
        <translation>リンクをコピー</translation>
    </message>
    <message id="OpenStoreItemPrompt">
        <source>Open the store page of “%1” in your web browser?</source>
        <extracomment>Games page: question before a store link opens in the web browser. %1 = the game's name.</extracomment>
        <translation>「%1」のストアページをウェブブラウザーで開きますか？</translation>
    </message>
    <message id="OpenStoreItemAddress">
        <source>It opens %1</source>
        <extracomment>Games page: under the question before a store link opens, the address that opens. %1 = the address.</extracomment>
        <translation>開くアドレス：%1</translation>
    </message>
    <message id="OpenInBrowser">
        <source>Open in Browser</source>
        <extracomment>Button that opens a link in the web browser.</extracomment>
        <translation>ブラウザーで開く</translation>
    </message>
    <message id="ControllerTypeVirtual">
        <source>virtual</source>
        <extracomment>Key test: the kind of a virtual game controller (the simulator's, the demo's), in the identity line after its name.</extracomment>
        <translation>仮想</translation>
    </message>
    <message id="CheckGravity">
        <source>1 g</source>
        <extracomment>Stick check result: the accelerometer's reading at rest (gravity).</extracomment>
        <translation>1 g</translation>
    </message>
    <message id="CheckGravityLine">
        <source>Accelerometer at rest: %1 m/s² (%2)</source>
        <extracomment>Controller check report: the accelerometer at rest. %1 = m/s²; %2 = verdict.</extracomment>
        <translation>静止時の加速度センサー：%1 m/s²（%2）</translation>
    </message>
    <message id="CheckGyroBiasLine">
        <source>Gyroscope bias: x %1, y %2, z %3 °/s; started over %4 times</source>
        <extracomment>Controller check report: the gyroscope's bias per axis. %1-%3 = degrees per second; %4 = how often a movement restarted the calibration.</extracomment>
        <translation>ジャイロのバイアス：x %1、y %2、z %3 °/s、やり直し %4 回</translation>
    </message>
    <message id="CheckGyroDrift">
        <source>drift</source>
        <extracomment>Stick check result: row label of the gyroscope's drift at rest.</extracomment>
        <translation>ドリフト</translation>
    </message>
    <message id="CheckGyroLine">
        <source>Gyroscope at rest: drift %1 °/s (%2), noise %3 °/s (%4)</source>
        <extracomment>Controller check report: the gyroscope at rest. %1 = drift in °/s; %2 = its verdict; %3 = noise in °/s; %4 = its verdict.</extracomment>
        <translation>静止時のジャイロ：ドリフト %1 °/s（%2）、ノイズ %3 °/s（%4）</translation>
    </message>
    <message id="CheckGyroNoise">
        <source>noise</source>
        <extracomment>Stick check result: row label of the gyroscope's noise at rest.</extracomment>
        <translation>ノイズ</translation>
    </message>
    <message id="CheckGyroNotCalibrated">
        <source>Gyroscope: not calibrated (the controller did not lie still long enough)</source>
        <extracomment>Controller check report: the gyroscope could not be calibrated.</extracomment>
        <translation>ジャイロ：未校正（コントローラーが十分な時間静止していませんでした）</translation>
    </message>
    <message id="CheckPromptMotion">
        <source>Lay the controller down on a flat surface and let go until the check ends</source>
        <extracomment>Command-line stick check: the prompt of the gyroscope calibration step.</extracomment>
        <translation>コントローラーを平らな場所に置き、チェックが終わるまで手を離してください</translation>
    </message>
    <message id="CheckPromptMotionMoved">
        <source>It moved: lay it down and let go again: %1 s</source>
        <extracomment>Stick check: the controller moved during the gyroscope calibration. %1 = seconds left.</extracomment>
        <translation>動きました。もう一度置いて手を離してください：%1 秒</translation>
    </message>
    <message id="CheckPromptMotionSeconds">
        <source>Lay the controller down and let go: %1 s</source>
        <extracomment>Stick check: the prompt of the gyroscope calibration step. %1 = seconds left.</extracomment>
        <translation>コントローラーを置いて手を離してください：%1 秒</translation>
    </message>
    <message id="CheckRatePoll">
        <source>%1 (poll)</source>
        <extracomment>Stick check result: a report rate timed by our poll. %1 = the rate and jitter.</extracomment>
        <translation>%1（ポーリング）</translation>
    </message>
    <message id="CheckSensorRateLine">
        <source>Motion sensors: gyroscope %1, accelerometer %2 samples per second</source>
        <extracomment>Controller check report: the motion sensors' measured rates. %1, %2 = samples per second.</extracomment>
        <translation>モーションセンサー：ジャイロ毎秒 %1 回、加速度センサー毎秒 %2 回</translation>
    </message>
    <message id="CliGamepadsMapping">
        <source>print each controller's mapping line in SDL's format instead (a # comment for one without)</source>
        <extracomment>Command-line help of gamepads --mapping.</extracomment>
        <translation>代わりに各コントローラーのマッピング行を SDL の形式で表示する（マッピングがなければ # のコメント）</translation>
    </message>
    <message id="CliLightInvalid">
        <source>--light takes a colour as six hexadecimal digits, RRGGBB</source>
        <extracomment>Command-line usage error of rumble --light.</extracomment>
        <translation>--light には 16 進 6 桁の色 RRGGBB を指定します</translation>
    </message>
    <message id="CliRumbleHigh">
        <source>run the high-frequency motor alone at strength S (0 to 1)</source>
        <extracomment>Command-line help of rumble --high.</extracomment>
        <translation>高周波モーターだけを強さ S（0〜1）で動かす</translation>
    </message>
    <message id="CliRumbleLeftTrigger">
        <source>run the left trigger's motor at strength S (0 to 1)</source>
        <extracomment>Command-line help of rumble --left-trigger.</extracomment>
        <translation>左トリガーのモーターを強さ S（0〜1）で動かす</translation>
    </message>
    <message id="CliRumbleLight">
        <source>set the controller's light to this colour</source>
        <extracomment>Command-line help of rumble --light.</extracomment>
        <translation>コントローラーのライトをこの色にする</translation>
    </message>
    <message id="CliRumbleLow">
        <source>run the low-frequency motor alone at strength S (0 to 1)</source>
        <extracomment>Command-line help of rumble --low.</extracomment>
        <translation>低周波モーターだけを強さ S（0〜1）で動かす</translation>
    </message>
    <message id="CliRumbleRightTrigger">
        <source>run the right trigger's motor at strength S (0 to 1)</source>
        <extracomment>Command-line help of rumble --right-trigger.</extracomment>
        <translation>右トリガーのモーターを強さ S（0〜1）で動かす</translation>
    </message>
    <message id="CliStrengthRange">
        <source>%1 takes a strength from 0 to 1</source>
        <extracomment>Command-line usage error: a motor strength out of range. %1 = option.</extracomment>
        <translation>%1 には 0〜1 の強さを指定します</translation>
    </message>
    <message id="ClockClosed">
        <source>%1 stopped delivering events (%2)</source>
        <extracomment>Why our poll times a controller's reports: its event device stopped. %1 = node; %2 = the system's reason.</extracomment>
        <translation>%1 がイベントを送らなくなりました（%2）</translation>
    </message>
    <message id="ClockNoEventDevice">
        <source>no event device of the kernel was found for this controller</source>
        <extracomment>Why our poll times a controller's reports: no kernel event device was found for it.</extracomment>
        <translation>このコントローラーのカーネルのイベントデバイスが見つかりません</translation>
    </message>
    <message id="ClockNoPermission">
        <source>no permission to read %1</source>
        <extracomment>Why our poll times a controller's reports: its event device may not be read. %1 = node.</extracomment>
        <translation>%1 を読む権限がありません</translation>
    </message>
    <message id="ClockNodeMissing">
        <source>%1 does not exist</source>
        <extracomment>Why our poll times a controller's reports: its event device node does not exist. %1 = node.</extracomment>
        <translation>%1 が存在しません</translation>
    </message>
    <message id="ClockSeveralEventDevices">
        <source>several event devices match this controller</source>
        <extracomment>Why our poll times a controller's reports: several kernel event devices match it.</extracomment>
        <translation>このコントローラーに合うイベントデバイスが複数あります</translation>
    </message>
    <message id="ClockUnreadable">
        <source>%1 cannot be read (%2)</source>
        <extracomment>Why our poll times a controller's reports: its event device cannot be read. %1 = node; %2 = the system's reason.</extracomment>
        <translation>%1 を読めません（%2）</translation>
    </message>
    <message id="EventStreamEnded">
        <source>the stream ended</source>
        <extracomment>The system's reason when a controller's event stream ended.</extracomment>
        <translation>ストリームが終了しました</translation>
    </message>
    <message id="GamepadHasNoMapping">
        <source>%1 (%2) has no mapping</source>
        <extracomment>Command-line gamepads --mapping: a controller without a mapping. %1 = name; %2 = GUID.</extracomment>
        <translation>%1（%2）にはマッピングがありません</translation>
    </message>
    <message id="LightOtherColour">
        <source>Other colour…</source>
        <extracomment>Key test motors page: opens a colour dialog for the controller's light.</extracomment>
        <translation>その他の色…</translation>
    </message>
    <message id="LightSet">
        <source>Light of %1 set to %2</source>
        <extracomment>Command-line rumble --light: the light was set. %1 = controller; %2 = colour.</extracomment>
        <translation>%1 のライトを %2 にしました</translation>
    </message>
    <message id="LightSwatch">
        <source>Light colour %1</source>
        <extracomment>Key test: accessible name of a colour swatch for the light. %1 = colour.</extracomment>
        <translation>ライトの色 %1</translation>
    </message>
    <message id="MapButtons">
        <source>Map buttons</source>
        <extracomment>Key test: button that starts the mapping editor for a controller without mapping.</extracomment>
        <translation>ボタンを割り当て</translation>
    </message>
    <message id="MappingBack">
        <source>Back</source>
        <extracomment>Mapping editor: go back to the element before.</extracomment>
        <translation>戻る</translation>
    </message>
    <message id="MappingControllerLeft">
        <source>%1 was unplugged; the mapping was not saved.</source>
        <extracomment>Mapping editor: the controller was unplugged. %1 = controller name.</extracomment>
        <translation>%1 が取り外されました。マッピングは保存されていません。</translation>
    </message>
    <message id="MappingDone">
        <source>Every element has been asked for: save the mapping, or go back to change one.</source>
        <extracomment>Mapping editor: every element has been asked for.</extracomment>
        <translation>すべての要素を尋ねました。マッピングを保存するか、戻って変更してください。</translation>
    </message>
    <message id="MappingFileIsAFolder">
        <source>it is a folder, not a file</source>
        <extracomment>Why the mapping file cannot be used: it is a folder.</extracomment>
        <translation>ファイルではなくフォルダーです</translation>
    </message>
    <message id="MappingFolderNotMade">
        <source>the folder %1 could not be made</source>
        <extracomment>Why the mapping file cannot be written: its folder cannot be made. %1 = folder.</extracomment>
        <translation>フォルダー %1 を作成できませんでした</translation>
    </message>
    <message id="MappingLeftStickX">
        <source>Left stick ↔</source>
        <extracomment>Mapping editor: element name of the left stick's horizontal axis.</extracomment>
        <translation>左スティック ↔</translation>
    </message>
    <message id="MappingLeftStickY">
        <source>Left stick ↕</source>
        <extracomment>Mapping editor: element name of the left stick's vertical axis.</extracomment>
        <translation>左スティック ↕</translation>
    </message>
    <message id="MappingRightStickX">
        <source>Right stick ↔</source>
        <extracomment>Mapping editor: element name of the right stick's horizontal axis.</extracomment>
        <translation>右スティック ↔</translation>
    </message>
    <message id="MappingRightStickY">
        <source>Right stick ↕</source>
        <extracomment>Mapping editor: element name of the right stick's vertical axis.</extracomment>
        <translation>右スティック ↕</translation>
    </message>
    <message id="MappingLetGo">
        <source>Taken: let go</source>
        <extracomment>Mapping editor: an input was taken; the user is to let it go.</extracomment>
        <translation>記録しました。離してください</translation>
    </message>
    <message id="MappingNotSaved">
        <source>The mapping could not be added to %1: %2. It applies until the program ends.</source>
        <extracomment>The mapping could not be kept in the mapping file. %1 = file; %2 = reason.</extracomment>
        <translation>マッピングを %1 に追加できませんでした：%2。プログラムの終了までは有効です。</translation>
    </message>
    <message id="MappingNotTaken">
        <source>%1 cannot take a mapping; copy the line below into a mapping file instead.</source>
        <extracomment>Mapping editor: the controller's source cannot take a mapping. %1 = controller.</extracomment>
        <translation>%1 はマッピングを受け付けません。代わりに下の行をマッピングファイルにコピーしてください。</translation>
    </message>
    <message id="MappingPadDirection">
        <source>pad %1</source>
        <extracomment>Mapping editor: element name of a direction of the pad. %1 = direction.</extracomment>
        <translation>十字キー%1</translation>
    </message>
    <message id="MappingPress">
        <source>Press %1</source>
        <extracomment>Mapping editor: the prompt for a button. %1 = element.</extracomment>
        <translation>%1 を押してください</translation>
    </message>
    <message id="MappingPushLeftStickRight">
        <source>Push the left stick to the right</source>
        <extracomment>Mapping editor: the prompt for the left stick's horizontal axis.</extracomment>
        <translation>左スティックを右に倒してください</translation>
    </message>
    <message id="MappingPushLeftStickUp">
        <source>Push the left stick up</source>
        <extracomment>Mapping editor: the prompt for the left stick's vertical axis.</extracomment>
        <translation>左スティックを上に倒してください</translation>
    </message>
    <message id="MappingPushRightStickRight">
        <source>Push the right stick to the right</source>
        <extracomment>Mapping editor: the prompt for the right stick's horizontal axis.</extracomment>
        <translation>右スティックを右に倒してください</translation>
    </message>
    <message id="MappingPushRightStickUp">
        <source>Push the right stick up</source>
        <extracomment>Mapping editor: the prompt for the right stick's vertical axis.</extracomment>
        <translation>右スティックを上に倒してください</translation>
    </message>
    <message id="MappingRefused">
        <source>The controller library refused the mapping.</source>
        <extracomment>The controller library refused a mapping line.</extracomment>
        <translation>コントローラーライブラリがマッピングを拒否しました。</translation>
    </message>
    <message id="MappingSave">
        <source>Save</source>
        <extracomment>Mapping editor: keeps the mapping.</extracomment>
        <translation>保存</translation>
    </message>
    <message id="MappingSaved">
        <source>%1 is mapped: its mapping is kept in the mapping file.</source>
        <extracomment>Mapping editor: the mapping was kept and applies. %1 = controller.</extracomment>
        <translation>%1 を割り当てました。マッピングはマッピングファイルに保存されています。</translation>
    </message>
    <message id="MappingSkip">
        <source>Skip</source>
        <extracomment>Mapping editor: leaves the element asked for unmapped.</extracomment>
        <translation>スキップ</translation>
    </message>
    <message id="MappingTitle">
        <source>Mapping %1</source>
        <extracomment>Mapping editor: caption. %1 = controller.</extracomment>
        <translation>%1 の割り当て</translation>
    </message>
    <message id="MotionAcceleration">
        <source>%1 m/s²</source>
        <extracomment>A figure in metres per second squared. %1 = number.</extracomment>
        <translation>%1 m/s²</translation>
    </message>
    <message id="MotionAccelerometer">
        <source>Accelerometer (m/s²)</source>
        <extracomment>Key test motion page: the accelerometer's title.</extracomment>
        <translation>加速度センサー（m/s²）</translation>
    </message>
    <message id="MotionCalibration">
        <source>At rest</source>
        <extracomment>Key test motion page: title of the gyroscope's calibration.</extracomment>
        <translation>静止時</translation>
    </message>
    <message id="MotionDegrees">
        <source>%1 °/s</source>
        <extracomment>A figure in degrees per second. %1 = number.</extracomment>
        <translation>%1 °/s</translation>
    </message>
    <message id="MotionDrift">
        <source>drift %1 °/s</source>
        <extracomment>Key test motion page: the gyroscope's drift. %1 = degrees per second.</extracomment>
        <translation>ドリフト %1 °/s</translation>
    </message>
    <message id="MotionGravity">
        <source>1 g reads %1 m/s²</source>
        <extracomment>Key test motion page: the accelerometer at rest. %1 = m/s².</extracomment>
        <translation>1 g の読み %1 m/s²</translation>
    </message>
    <message id="MotionGyroscope">
        <source>Gyroscope (°/s)</source>
        <extracomment>Key test: the gyroscope's title.</extracomment>
        <translation>ジャイロ（°/s）</translation>
    </message>
    <message id="MotionNoise">
        <source>noise %1 °/s</source>
        <extracomment>Key test motion page: the gyroscope's noise. %1 = degrees per second.</extracomment>
        <translation>ノイズ %1 °/s</translation>
    </message>
    <message id="MotionNotCalibrated">
        <source>Check sticks calibrates the gyroscope: it ends with the controller lying still.</source>
        <extracomment>Key test motion page: no calibration yet.</extracomment>
        <translation>「スティックをチェック」でジャイロを校正します。最後にコントローラーを静置します。</translation>
    </message>
    <message id="MotionRate">
        <source>%1 per second</source>
        <extracomment>Key test motion page: a sensor's measured rate. %1 = samples per second.</extracomment>
        <translation>毎秒 %1 回</translation>
    </message>
    <message id="MotionRateStated">
        <source>%1 per second (states %2)</source>
        <extracomment>Key test motion page: a sensor's measured and stated rate. %1 = measured; %2 = stated, per second.</extracomment>
        <translation>毎秒 %1 回（公称 %2）</translation>
    </message>
    <message id="MotionTab">
        <source>Motion</source>
        <extracomment>Key test: page of the motion sensors.</extracomment>
        <translation>モーション</translation>
    </message>
    <message id="MotorHigh">
        <source>high</source>
        <extracomment>Command-line rumble: the high-frequency motor.</extracomment>
        <translation>高周波</translation>
    </message>
    <message id="MotorHighLabel">
        <source>High frequency</source>
        <extracomment>Key test motors page: the high-frequency motor.</extracomment>
        <translation>高周波</translation>
    </message>
    <message id="MotorLeftTrigger">
        <source>left trigger</source>
        <extracomment>Command-line rumble: the left trigger's motor.</extracomment>
        <translation>左トリガー</translation>
    </message>
    <message id="MotorLeftTriggerLabel">
        <source>Left trigger</source>
        <extracomment>Key test motors page: the left trigger's motor.</extracomment>
        <translation>左トリガー</translation>
    </message>
    <message id="MotorLow">
        <source>low</source>
        <extracomment>Command-line rumble: the low-frequency motor.</extracomment>
        <translation>低周波</translation>
    </message>
    <message id="MotorLowLabel">
        <source>Low frequency</source>
        <extracomment>Key test motors page: the low-frequency motor.</extracomment>
        <translation>低周波</translation>
    </message>
    <message id="MotorRightTrigger">
        <source>right trigger</source>
        <extracomment>Command-line rumble: the right trigger's motor.</extracomment>
        <translation>右トリガー</translation>
    </message>
    <message id="MotorRightTriggerLabel">
        <source>Right trigger</source>
        <extracomment>Key test motors page: the right trigger's motor.</extracomment>
        <translation>右トリガー</translation>
    </message>
    <message id="MotorRun">
        <source>Run</source>
        <extracomment>Key test motors page: runs one motor on its own.</extracomment>
        <translation>動かす</translation>
    </message>
    <message id="MotorStrength">
        <source>%1 %2</source>
        <extracomment>Command-line rumble: one motor and its strength. %1 = motor; %2 = strength.</extracomment>
        <translation>%1 %2</translation>
    </message>
    <message id="MotorsTab">
        <source>Motors</source>
        <extracomment>Key test: page of the motors and the light.</extracomment>
        <translation>モーター</translation>
    </message>
    <message id="NoLightController">
        <source>No connected game controller has a light.</source>
        <extracomment>Command-line rumble --light: no controller has a light.</extracomment>
        <translation>ライトのあるコントローラーが接続されていません。</translation>
    </message>
    <message id="NoTouchpad">
        <source>This controller has no touchpad.</source>
        <extracomment>Key test touchpad page: the controller has no touchpad.</extracomment>
        <translation>このコントローラーにはタッチパッドがありません。</translation>
    </message>
    <message id="NoTriggerRumbleController">
        <source>No connected game controller has trigger motors.</source>
        <extracomment>Command-line rumble: no controller has trigger motors.</extracomment>
        <translation>トリガーモーターのあるコントローラーが接続されていません。</translation>
    </message>
    <message id="ReportClockDevice">
        <source>Report times: the controller's own</source>
        <extracomment>Key test: the controller's reports are timed by its own clock.</extracomment>
        <translation>レポートの時刻：コントローラー自身の時計</translation>
    </message>
    <message id="ReportClockKernel">
        <source>Report times: the kernel's, from %1</source>
        <extracomment>Key test: the controller's reports are timed by the kernel. %1 = event device.</extracomment>
        <translation>レポートの時刻：カーネルの時計（%1）</translation>
    </message>
    <message id="ReportClockPoll">
        <source>Report times: our poll's, at most 125 per second</source>
        <extracomment>Key test: the controller's reports are timed by our poll.</extracomment>
        <translation>レポートの時刻：ポーリングの時計、毎秒最大 125 回</translation>
    </message>
    <message id="ReportClockPollBecause">
        <source>Report times: our poll's, at most 125 per second: %1</source>
        <extracomment>Key test: the controller's reports are timed by our poll, and why. %1 = reason.</extracomment>
        <translation>レポートの時刻：ポーリングの時計、毎秒最大 125 回：%1</translation>
    </message>
    <message id="RumbleMotorsRunning">
        <source>Rumbling %1 for %2 s: %3</source>
        <extracomment>Command-line rumble: motors on their own. %1 = controller; %2 = seconds; %3 = the motors and their strengths.</extracomment>
        <translation>%1 を %2 秒振動させています：%3</translation>
    </message>
    <message id="TouchpadCaption">
        <source>Touchpad %1 · %2 fingers</source>
        <extracomment>Key test touchpad page: a touchpad. %1 = its number; %2 = fingers down.</extracomment>
        <translation>タッチパッド %1 · 指 %2 本</translation>
    </message>
    <message id="TouchpadPressed">
        <source>pressed</source>
        <extracomment>Key test touchpad page: the touchpad's button is pressed.</extracomment>
        <translation>押下中</translation>
    </message>
    <message id="TouchpadTab">
        <source>Touchpad</source>
        <extracomment>Key test: page of the touchpads.</extracomment>
        <translation>タッチパッド</translation>
    </message>
    <message id="VerdictOff">
        <source>off</source>
        <extracomment>Verdict: a reading outside what is right.</extracomment>
        <translation>ずれ</translation>
    </message>
    <message id="MappingCancel">
        <source>Cancel</source>
        <extracomment>Mapping editor: closes it without saving.</extracomment>
        <translation>キャンセル</translation>
    </message>
    <message id="LightColourTitle">
        <source>Light colour</source>
        <extracomment>Key test: title of the dialog that picks the light's colour.</extracomment>
        <translation>ライトの色</translation>
    </message>
    <message id="LightColourSet">
        <source>Set</source>
        <extracomment>Key test light dialog: sets the colour.</extracomment>
        <translation>設定</translation>
    </message>
    <message id="ColourRed">
        <source>Red</source>
        <extracomment>Key test light dialog: the red slider.</extracomment>
        <translation>赤</translation>
    </message>
    <message id="ColourGreen">
        <source>Green</source>
        <extracomment>Key test light dialog: the green slider.</extracomment>
        <translation>緑</translation>
    </message>
    <message id="ColourBlue">
        <source>Blue</source>
        <extracomment>Key test light dialog: the blue slider.</extracomment>
        <translation>青</translation>
    </message>
    <message id="LightColourCancel">
        <source>Cancel</source>
        <extracomment>Key test light dialog: closes it and leaves the light as it was.</extracomment>
        <translation>キャンセル</translation>
    </message>
    <message id="CheckSecondsLeft">
        <source>%1 s left</source>
        <extracomment>Stick check: the seconds the current step has left. %1 = whole seconds.</extracomment>
        <translation>残り %1 秒</translation>
    </message>
    <message id="CheckKeysRest">
        <source>Keyboard: leave W A S D and I J K L alone</source>
        <extracomment>Stick check with the keyboard playing the controller (demo): what to do with the keys while the sticks rest.</extracomment>
        <translation>キーボード：W A S D と I J K L は押さないでください</translation>
    </message>
    <message id="CheckKeysRotateLeft">
        <source>Keyboard: hold Shift with W, A, S or D to sweep the left stick around its edge, then let go</source>
        <extracomment>Stick check with the keyboard playing the controller (demo): the key combination that sweeps the left stick around its edge.</extracomment>
        <translation>キーボード：Shift と W・A・S・D のいずれかを押し続けると左スティックが縁を回ります。その後、離してください</translation>
    </message>
    <message id="CheckKeysRotateRight">
        <source>Keyboard: hold Shift with I, J, K or L to sweep the right stick around its edge, then let go</source>
        <extracomment>Stick check with the keyboard playing the controller (demo): the key combination that sweeps the right stick around its edge.</extracomment>
        <translation>キーボード：Shift と I・J・K・L のいずれかを押し続けると右スティックが縁を回ります。その後、離してください</translation>
    </message>
    <message id="CheckKeysTriggers">
        <source>Keyboard: 1 and 3 are the left and right trigger: press them, then let go</source>
        <extracomment>Stick check with the keyboard playing the controller (demo): the keys that are the triggers.</extracomment>
        <translation>キーボード：1 と 3 が左右のトリガーです。押してから離してください</translation>
    </message>
    <message id="CheckKeysMotion">
        <source>Keyboard: leave R T, Y U and O P alone: they turn the controller</source>
        <extracomment>Stick check with the keyboard playing the controller (demo): the keys that turn the controller must be left alone while the gyroscope is calibrated.</extracomment>
        <translation>キーボード：R T・Y U・O P はコントローラーを回すので押さないでください</translation>
    </message>
    <message id="CheckPromptMotionAgain">
        <source>It moved: lay it down and let go again</source>
        <extracomment>Stick check: the controller moved while the gyroscope was being calibrated; the countdown is shown beside it.</extracomment>
        <translation>動きました。もう一度置いて手を離してください</translation>
    </message>
    <message id="CheckJitter">
        <source>Jitter</source>
        <extracomment>Stick check: label of the row giving how much the time between a stick's reports varies (± milliseconds).</extracomment>
        <translation>ジッター</translation>
    </message>
    <message id="CheckNowColumn">
        <source>This check</source>
        <extracomment>Stick check: heading of the column of this check's figures, beside the previous check's.</extracomment>
        <translation>今回</translation>
    </message>
    <message id="CheckPreviousColumn">
        <source>Previous</source>
        <extracomment>Stick check: heading of the column of the previous check's figures.</extracomment>
        <translation>前回</translation>
    </message>
    <message id="CheckTravel">
        <source>Travel %1–%2</source>
        <extracomment>Stick check: a trigger's travel from its lowest to its highest level (0.00 to 1.00). %1 = lowest; %2 = highest.</extracomment>
        <translation>ストローク %1–%2</translation>
    </message>
    <message id="CheckLevels" numerus="yes">
        <source>%n level(s)</source>
        <extracomment>Stick check: how many distinct levels a trigger reported. %n = count (plural forms).</extracomment>
        <translation>
            <numerusform>%n 段階</numerusform>
        </translation>
    </message>
</context>
</TS>

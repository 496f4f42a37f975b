<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name></name>
    <message id=":">
        <source>: </source>
        <extracomment>Colon placed after a caption (CurrentVersion, LatestVersion, UpgradeInfo, SelectedFirmware) so each language uses its own colon. English keeps a trailing space before the value.</extracomment>
        <translation>: </translation>
    </message>
    <message id="AnalogueValues">
        <source>Values</source>
        <extracomment>Key test screen: caption of the analogue panel (stick positions, trigger levels, every button).</extracomment>
        <translation>Values</translation>
    </message>
    <message id="ArchiveNameNoVersion">
        <source>The file name "%1" holds no version number (such as 1.2-1.3-1.4.zip), so the package was not imported. Give the file its release's version as its name and open it again.</source>
        <extracomment>Toast (3 s) when a .zip archive opened into the application has no version number in its file name (the release folder is named after it); %1 = the file name. The user's file is left as it is.</extracomment>
        <translation>The file name "%1" holds no version number (such as 1.2-1.3-1.4.zip), so the package was not imported. Give the file its release's version as its name and open it again.</translation>
    </message>
    <message id="ArchiveUnsafePaths">
        <source>This firmware package contains unsafe entries (paths outside its folder, or links) and was not imported.</source>
        <extracomment>Toast (3 s) when a firmware package opened into the application holds entries whose paths lead out of its release folder, or links; the package is refused and nothing is written.</extracomment>
        <translation>This firmware package contains unsafe entries (paths outside its folder, or links) and was not imported.</translation>
    </message>
    <message id="ArrowKeys">
        <source>Arrow Keys</source>
        <extracomment>Key test screen: caption of the direction pad section.</extracomment>
        <translation>Arrow Keys</translation>
    </message>
    <message id="BatteryEmpty">
        <source>empty</source>
        <extracomment>Key test screen: battery level, 5 % or less.</extracomment>
        <translation>empty</translation>
    </message>
    <message id="BatteryFull">
        <source>full</source>
        <extracomment>Key test screen: battery level, above 70 %.</extracomment>
        <translation>full</translation>
    </message>
    <message id="BatteryLevel">
        <source>battery %1</source>
        <extracomment>Key test screen: identity line. %1 = one of the Battery* texts.</extracomment>
        <translation>battery %1</translation>
    </message>
    <message id="BatteryLow">
        <source>low</source>
        <extracomment>Key test screen: battery level, 20 % or less.</extracomment>
        <translation>low</translation>
    </message>
    <message id="BatteryMedium">
        <source>medium</source>
        <extracomment>Key test screen: battery level, 70 % or less.</extracomment>
        <translation>medium</translation>
    </message>
    <message id="BatteryUnknown">
        <source>unknown</source>
        <extracomment>Key test screen: battery level that the controller does not report.</extracomment>
        <translation>unknown</translation>
    </message>
    <message id="BatteryWired">
        <source>wired</source>
        <extracomment>Key test screen: the controller is powered by its cable.</extracomment>
        <translation>wired</translation>
    </message>
    <message id="ButtonMisc">
        <source>Misc</source>
        <extracomment>Game controllers: the extra button some controllers have (share, capture or microphone button).</extracomment>
        <translation>Misc</translation>
    </message>
    <message id="ButtonPaddle">
        <source>Paddle %1</source>
        <extracomment>Game controllers: a paddle on the back of the controller. %1 = its number, 1 to 4.</extracomment>
        <translation>Paddle %1</translation>
    </message>
    <message id="ButtonTouchpad">
        <source>Touchpad</source>
        <extracomment>Game controllers: the click of the controller's touchpad.</extracomment>
        <translation>Touchpad</translation>
    </message>
    <message id="CaFileInvalid">
        <source>No certificate could be read from "%1".</source>
        <extracomment>Command line: the file given with --ca-file holds no PEM certificate; %1 = the file.</extracomment>
        <translation>No certificate could be read from "%1".</translation>
    </message>
    <message id="Cancel">
        <source>Cancel</source>
        <extracomment>Button of the 'open the App Store' alert on the game list page; closes the alert.</extracomment>
        <translation>Cancel</translation>
    </message>
    <message id="CannotUnzipPrompt">
        <source>This file is not a firmware package (.zip) and cannot be unzipped.</source>
        <extracomment>Toast (3 s) when a file opened into the application is not a .zip archive (by its extension); the user's file is left as it is.</extracomment>
        <translation>This file is not a firmware package (.zip) and cannot be unzipped.</translation>
    </message>
    <message id="CheckAgain">
        <source>Check again</source>
        <extracomment>Stick check: run the check once more.</extracomment>
        <translation>Check again</translation>
    </message>
    <message id="CheckButtonLine" numerus="yes">
        <source>%1: %n press(es), %2 chatter (%3)</source>
        <extracomment>Controller check report: one button. %n = presses (plural forms); %1 = button; %2 = chatter count; %3 = verdict.</extracomment>
        <translation>
            <numerusform>%1: %n press, %2 chatter (%3)</numerusform>
            <numerusform>%1: %n presses, %2 chatter (%3)</numerusform>
        </translation>
    </message>
    <message id="CheckCentreLine">
        <source>%1: drift %2, noise %3, recommended dead zone %4 (%5)</source>
        <extracomment>Controller check report: a stick at rest. %1 = stick; %2 = drift; %3 = noise; %4 = recommended dead zone (stick units 0..1); %5 = verdict on the drift.</extracomment>
        <translation>%1: drift %2, noise %3, recommended dead zone %4 (%5)</translation>
    </message>
    <message id="CheckCircularity">
        <source>Circularity</source>
        <extracomment>Stick check: figure label; the circularity error.</extracomment>
        <translation>Circularity</translation>
    </message>
    <message id="CheckClockDevice">
        <source>timed by the device</source>
        <extracomment>Controller check report: the report rate was timed by the device's own event times.</extracomment>
        <translation>timed by the device</translation>
    </message>
    <message id="CheckClockPoll">
        <source>timed by our poll of the device, which caps the rate</source>
        <extracomment>Controller check report: the report rate was timed when our poll read the device, so it cannot exceed the poll's rate.</extracomment>
        <translation>timed by our poll of the device, which caps the rate</translation>
    </message>
    <message id="CheckClose">
        <source>Done</source>
        <extracomment>Stick check: back to the key test.</extracomment>
        <translation>Done</translation>
    </message>
    <message id="CheckComplete">
        <source>Check complete</source>
        <extracomment>Controller check: all steps are done.</extracomment>
        <translation>Check complete</translation>
    </message>
    <message id="CheckControllerLine">
        <source>Controller: %1</source>
        <extracomment>Controller check report: the controller's identity. %1 = name, type, vendor:product, GUID.</extracomment>
        <translation>Controller: %1</translation>
    </message>
    <message id="CheckCoverage">
        <source>Coverage</source>
        <extracomment>Stick check: figure label; share of directions reached.</extracomment>
        <translation>Coverage</translation>
    </message>
    <message id="CheckDeadZone">
        <source>Dead zone</source>
        <extracomment>Stick check: figure label; the recommended dead zone.</extracomment>
        <translation>Dead zone</translation>
    </message>
    <message id="CheckDrift">
        <source>Drift</source>
        <extracomment>Stick check: figure label.</extracomment>
        <translation>Drift</translation>
    </message>
    <message id="CheckFirmwareLine">
        <source>Firmware: %1</source>
        <extracomment>Controller check report: the controller's firmware versions. %1 = boot-left-right.</extracomment>
        <translation>Firmware: %1</translation>
    </message>
    <message id="CheckLeftStick">
        <source>Left stick</source>
        <extracomment>Controller check: the left stick.</extracomment>
        <translation>Left stick</translation>
    </message>
    <message id="CheckLeftTrigger">
        <source>Left trigger</source>
        <extracomment>Controller check: the left trigger (L2).</extracomment>
        <translation>Left trigger</translation>
    </message>
    <message id="CheckNeedsSticks">
        <source>%1 has no sticks to check.</source>
        <extracomment>Controller check: the controller offers no sticks. %1 = controller name.</extracomment>
        <translation>%1 has no sticks to check.</translation>
    </message>
    <message id="CheckNoPrevious">
        <source>No earlier check of this controller</source>
        <extracomment>Stick check: there is no earlier report of this controller.</extracomment>
        <translation>No earlier check of this controller</translation>
    </message>
    <message id="CheckNoise">
        <source>Noise</source>
        <extracomment>Stick check: figure label.</extracomment>
        <translation>Noise</translation>
    </message>
    <message id="CheckNone">
        <source>none</source>
        <extracomment>Stick check: no short direction.</extracomment>
        <translation>none</translation>
    </message>
    <message id="CheckPrevious">
        <source>Previous check, %1</source>
        <extracomment>Stick check: the figures of the earlier check of the same controller. %1 = its date and time.</extracomment>
        <translation>Previous check, %1</translation>
    </message>
    <message id="CheckPromptRest">
        <source>Leave both sticks at rest: %1 s</source>
        <extracomment>Controller check step: both sticks at rest. %1 = seconds left.</extracomment>
        <translation>Leave both sticks at rest: %1 s</translation>
    </message>
    <message id="CheckPromptRotateLeft">
        <source>Rotate the left stick along its edge a few times, then let it go</source>
        <extracomment>Controller check step.</extracomment>
        <translation>Rotate the left stick along its edge a few times, then let it go</translation>
    </message>
    <message id="CheckPromptRotateRight">
        <source>Rotate the right stick along its edge a few times, then let it go</source>
        <extracomment>Controller check step.</extracomment>
        <translation>Rotate the right stick along its edge a few times, then let it go</translation>
    </message>
    <message id="CheckPromptTriggers">
        <source>Press both triggers all the way, then let them go</source>
        <extracomment>Controller check step.</extracomment>
        <translation>Press both triggers all the way, then let them go</translation>
    </message>
    <message id="CheckRangeLine">
        <source>%1: circularity error %2 % (quadrants %3), coverage %4 % (%5)</source>
        <extracomment>Controller check report: a stick's range. %1 = stick; %2 = circularity error in percent; %3 = the four quadrants' errors; %4 = coverage in percent; %5 = verdict.</extracomment>
        <translation>%1: circularity error %2 % (quadrants %3), coverage %4 % (%5)</translation>
    </message>
    <message id="CheckRangeNotCovered">
        <source>%1: range not measured (%2 % of the directions reached)</source>
        <extracomment>Controller check report: a stick was not rotated far enough for a result. %1 = stick; %2 = percent of the directions reached.</extracomment>
        <translation>%1: range not measured (%2 % of the directions reached)</translation>
    </message>
    <message id="CheckRate">
        <source>Rate</source>
        <extracomment>Stick check: figure label; updates per second.</extracomment>
        <translation>Rate</translation>
    </message>
    <message id="CheckRateLine">
        <source>%1: %2 updates per second, jitter %3 ms (%4)</source>
        <extracomment>Controller check report: how often a stick reports. %1 = stick; %2 = updates per second; %3 = jitter in milliseconds; %4 = whose clock timed it.</extracomment>
        <translation>%1: %2 updates per second, jitter %3 ms (%4)</translation>
    </message>
    <message id="CheckReportNotSaved">
        <source>The check's report could not be saved in %1.</source>
        <extracomment>Controller check: the report file could not be written. %1 = folder or file.</extracomment>
        <translation>The check's report could not be saved in %1.</translation>
    </message>
    <message id="CheckReportSaved">
        <source>Report saved: %1</source>
        <extracomment>Command-line controller check: where the report was saved. %1 = file.</extracomment>
        <translation>Report saved: %1</translation>
    </message>
    <message id="CheckRightStick">
        <source>Right stick</source>
        <extracomment>Controller check: the right stick.</extracomment>
        <translation>Right stick</translation>
    </message>
    <message id="CheckRightTrigger">
        <source>Right trigger</source>
        <extracomment>Controller check: the right trigger (R2).</extracomment>
        <translation>Right trigger</translation>
    </message>
    <message id="CheckShort">
        <source>Short</source>
        <extracomment>Stick check: figure label; directions where the range falls short.</extracomment>
        <translation>Short</translation>
    </message>
    <message id="CheckShortLine">
        <source>%1: the range falls short towards %2</source>
        <extracomment>Controller check report: the directions where a stick's range falls short. %1 = stick; %2 = directions.</extracomment>
        <translation>%1: the range falls short towards %2</translation>
    </message>
    <message id="CheckSticks">
        <source>Check sticks</source>
        <extracomment>Key test: the button that starts the guided stick check.</extracomment>
        <translation>Check sticks</translation>
    </message>
    <message id="CheckTitle">
        <source>Stick check</source>
        <extracomment>Stick check: the panel's caption.</extracomment>
        <translation>Stick check</translation>
    </message>
    <message id="CheckTriggerLine" numerus="yes">
        <source>%1: %2 to %3, %n level(s) (%4)</source>
        <extracomment>Controller check report: a trigger's travel. %n = distinct levels seen (plural forms); %1 = trigger; %2 = lowest level; %3 = highest level; %4 = verdict.</extracomment>
        <translation>
            <numerusform>%1: %2 to %3, %n level (%4)</numerusform>
            <numerusform>%1: %2 to %3, %n levels (%4)</numerusform>
        </translation>
    </message>
    <message id="CheckWaitingForController">
        <source>Waiting for a game controller with two sticks...</source>
        <extracomment>Command-line controller check: no controller with two sticks is connected yet.</extracomment>
        <translation>Waiting for a game controller with two sticks...</translation>
    </message>
    <message id="ChecksumRejected">
        <source>The controller rejected the firmware it received (checksum mismatch). Please reconnect the controller and try again.</source>
        <extracomment>Upgrade engine / command-line: the controller refused the checksum of the right-side image twice. What was installed is said after it.</extracomment>
        <translation>The controller rejected the firmware it received (checksum mismatch). Please reconnect the controller and try again.</translation>
    </message>
    <message id="ChooseRelease">
        <source>Release to install</source>
        <extracomment>Upgrade screen: caption above the buttons that choose a local or an online release.</extracomment>
        <translation>Release to install</translation>
    </message>
    <message id="CliBaseUrlInvalid">
        <source>--base-url needs an http: or https: address</source>
        <extracomment>Command-line usage error: bad --base-url.</extracomment>
        <translation>--base-url needs an http: or https: address</translation>
    </message>
    <message id="CliExpiresInvalid">
        <source>--expires needs a number of days from 0 to %1</source>
        <extracomment>Command-line usage error: bad --expires. %1 = the largest number of days.</extracomment>
        <translation>--expires needs a number of days from 0 to %1</translation>
    </message>
    <message id="CliFlashBoot">
        <source>the boot loader image</source>
        <extracomment>Command-line help: flash --boot.</extracomment>
        <translation>the boot loader image</translation>
    </message>
    <message id="CliFlashHelp">
        <source>send firmware images (boot loader, left, right, in that order) across the controller's restarts; prints the versions read afterwards</source>
        <extracomment>Command-line help: the flash command.</extracomment>
        <translation>send firmware images (boot loader, left, right, in that order) across the controller's restarts; prints the versions read afterwards</translation>
    </message>
    <message id="CliFlashLeft">
        <source>the left side's image</source>
        <extracomment>Command-line help: flash --left.</extracomment>
        <translation>the left side's image</translation>
    </message>
    <message id="CliFlashNeedsImage">
        <source>flash needs at least one image</source>
        <extracomment>Command-line usage error: flash was given no image.</extracomment>
        <translation>flash needs at least one image</translation>
    </message>
    <message id="CliFlashRight">
        <source>the right side's image</source>
        <extracomment>Command-line help: flash --right.</extracomment>
        <translation>the right side's image</translation>
    </message>
    <message id="CliGamepadsHelp">
        <source>list the connected game controllers, tab-separated: name, player index, extended|basic|unmapped, type, vendor:product, GUID (- where unknown)</source>
        <extracomment>Command-line help: the gamepads command. Keep extended|basic|unmapped literally.</extracomment>
        <translation>list the connected game controllers, tab-separated: name, player index, extended|basic|unmapped, type, vendor:product, GUID (- where unknown)</translation>
    </message>
    <message id="CliHelpCommandFooter">
        <source>The options before the command (see "%1 --help") apply as well; --trust-key, --trust-root and --ca-file are also accepted after it.</source>
        <extracomment>Command-line help of one command: the closing note. %1 = the program's name.</extracomment>
        <translation>The options before the command (see "%1 --help") apply as well; --trust-key, --trust-root and --ca-file are also accepted after it.</translation>
    </message>
    <message id="CliHelpCommands">
        <source>Commands:</source>
        <extracomment>Command-line help: heading of the command list.</extracomment>
        <translation>Commands:</translation>
    </message>
    <message id="CliHelpFooter">
        <source>With --simulate, gamepads, keytest and rumble use a virtual controller instead of the real ones. Game-controller mappings (SDL's format) are read from SDL_GAMECONTROLLERCONFIG, SDL_GAMECONTROLLERCONFIG_FILE and gamecontrollerdb.txt in the configuration folder (~/.config/q3dart). "%1 COMMAND --help" shows a command's options. Exit codes: 0 success, 1 failure, 2 usage error, 3 no controller attached.</source>
        <extracomment>Command-line help: the closing notes. %1 = the program's name. Keep option and variable names literally.</extracomment>
        <translation>With --simulate, gamepads, keytest and rumble use a virtual controller instead of the real ones. Game-controller mappings (SDL's format) are read from SDL_GAMECONTROLLERCONFIG, SDL_GAMECONTROLLERCONFIG_FILE and gamecontrollerdb.txt in the configuration folder (~/.config/q3dart). "%1 COMMAND --help" shows a command's options. Exit codes: 0 success, 1 failure, 2 usage error, 3 no controller attached.</translation>
    </message>
    <message id="CliHelpHint">
        <source>Run "%1" for help.</source>
        <extracomment>Command-line usage error: where the help is. %1 = the help command to run.</extracomment>
        <translation>Run "%1" for help.</translation>
    </message>
    <message id="CliHelpOptions">
        <source>Options:</source>
        <extracomment>Command-line help: heading of the option list.</extracomment>
        <translation>Options:</translation>
    </message>
    <message id="CliHelpUsage">
        <source>Usage: %1</source>
        <extracomment>Command-line help: the usage line. %1 = the program and its words.</extracomment>
        <translation>Usage: %1</translation>
    </message>
    <message id="CliHistoryHelp">
        <source>the upgrade runs recorded in the documents directory, newest first: start, outcome, release, versions before, after, reason, controller</source>
        <extracomment>Command-line help: the history command.</extracomment>
        <translation>the upgrade runs recorded in the documents directory, newest first: start, outcome, release, versions before, after, reason, controller</translation>
    </message>
    <message id="CliHistoryJson">
        <source>a JSON array of the runs</source>
        <extracomment>Command-line help: history --json.</extracomment>
        <translation>a JSON array of the runs</translation>
    </message>
    <message id="CliImportHelp">
        <source>import release archives (VERSION.zip) as local releases</source>
        <extracomment>Command-line help: the import command, which takes one archive or several.</extracomment>
        <translation>import release archives (VERSION.zip) as local releases</translation>
    </message>
    <message id="CliKeygenHelp">
        <source>write a new Ed25519 key to FILE (PEM, owner only) and print its key id, then its public key (base64) as the last line</source>
        <extracomment>Command-line help: the keygen command.</extracomment>
        <translation>write a new Ed25519 key to FILE (PEM, owner only) and print its key id, then its public key (base64) as the last line</translation>
    </message>
    <message id="CliKeytestCheck">
        <source>the guided stick check: rest (3 s), rotate each stick along its edge, press both triggers</source>
        <extracomment>Command-line help: keytest --check.</extracomment>
        <translation>the guided stick check: rest (3 s), rotate each stick along its edge, press both triggers</translation>
    </message>
    <message id="CliKeytestCheckOnly">
        <source>--json, --stick and --seconds go with keytest --check</source>
        <extracomment>Command-line usage error: check options given without --check.</extracomment>
        <translation>--json, --stick and --seconds go with keytest --check</translation>
    </message>
    <message id="CliKeytestHelp">
        <source>print every key and stick event until interrupted (Ctrl+C): `key A pressed`, `key A released`, `stick left DX DY`; with --simulate, reads `press|release NAME`, `set NAME VALUE`, `stick left|right X Y`, `trigger left|right V`, `gyro X Y Z`, `accel X Y Z`, `touch PAD FINGER X Y [P]`, `lift PAD FINGER`, `touchpad PAD press|release`, `plug`, `unplug` and `wait MS` from standard input. --check runs the guided stick check and prints its report, saved in the documents directory</source>
        <extracomment>Command-line help: the keytest command. Keep the printed and script lines literally.</extracomment>
        <translation>print every key and stick event until interrupted (Ctrl+C): `key A pressed`, `key A released`, `stick left DX DY`; with --simulate, reads `press|release NAME`, `set NAME VALUE`, `stick left|right X Y`, `trigger left|right V`, `gyro X Y Z`, `accel X Y Z`, `touch PAD FINGER X Y [P]`, `lift PAD FINGER`, `touchpad PAD press|release`, `plug`, `unplug` and `wait MS` from standard input. --check runs the guided stick check and prints its report, saved in the documents directory</translation>
    </message>
    <message id="CliKeytestJson">
        <source>print the report as one JSON object</source>
        <extracomment>Command-line help: keytest --check --json.</extracomment>
        <translation>print the report as one JSON object</translation>
    </message>
    <message id="CliKeytestSeconds">
        <source>the most a rotation or the trigger step may take (default 10)</source>
        <extracomment>Command-line help: keytest --check --seconds.</extracomment>
        <translation>the most a rotation or the trigger step may take (default 10)</translation>
    </message>
    <message id="CliKeytestStick">
        <source>the sticks to rotate (default both)</source>
        <extracomment>Command-line help: keytest --check --stick.</extracomment>
        <translation>the sticks to rotate (default both)</translation>
    </message>
    <message id="CliKeytestStickInvalid">
        <source>--stick takes left, right or both</source>
        <extracomment>Command-line usage error: bad --stick. Keep left, right, both literally.</extracomment>
        <translation>--stick takes left, right or both</translation>
    </message>
    <message id="CliKeytestValues">
        <source>also print `axis left X Y` after each stick report and `trigger left V` when a trigger's level changes</source>
        <extracomment>Command-line help: keytest --values. Keep the printed lines literally.</extracomment>
        <translation>also print `axis left X Y` after each stick report and `trigger left V` when a trigger's level changes</translation>
    </message>
    <message id="CliListVersionInvalid">
        <source>--list-version needs a whole number from 0</source>
        <extracomment>Command-line usage error: bad --list-version.</extracomment>
        <translation>--list-version needs a whole number from 0</translation>
    </message>
    <message id="CliListenInvalid">
        <source>--listen needs HOST:PORT with a numeric host address</source>
        <extracomment>Command-line usage error: bad --listen value.</extracomment>
        <translation>--listen needs HOST:PORT with a numeric host address</translation>
    </message>
    <message id="CliNeedsArguments">
        <source>expected %1</source>
        <extracomment>Command-line usage error: the command's arguments are missing or too many. %1 = the arguments it takes.</extracomment>
        <translation>expected %1</translation>
    </message>
    <message id="CliNoCommand">
        <source>no command given</source>
        <extracomment>Command-line usage error: no command was given.</extracomment>
        <translation>no command given</translation>
    </message>
    <message id="CliOptionCaFile">
        <source>also trust the PEM certificate authorities of FILE for https</source>
        <extracomment>Command-line help: --ca-file.</extracomment>
        <translation>also trust the PEM certificate authorities of FILE for https</translation>
    </message>
    <message id="CliOptionDevice">
        <source>sim | tcp:HOST:PORT | serial:PATH (default: the first USB serial controller)</source>
        <extracomment>Command-line help: --device. Keep sim, tcp:HOST:PORT and serial:PATH literally.</extracomment>
        <translation>sim | tcp:HOST:PORT | serial:PATH (default: the first USB serial controller)</translation>
    </message>
    <message id="CliOptionDocuments">
        <source>documents directory (default: the user's data folder)</source>
        <extracomment>Command-line help: --documents.</extracomment>
        <translation>documents directory (default: the user's data folder)</translation>
    </message>
    <message id="CliOptionHelp">
        <source>show this help</source>
        <extracomment>Command-line help: --help.</extracomment>
        <translation>show this help</translation>
    </message>
    <message id="CliOptionLang">
        <source>language of messages: en, zh, ja (default: the system's)</source>
        <extracomment>Command-line help: --lang. Keep en, zh, ja literally.</extracomment>
        <translation>language of messages: en, zh, ja (default: the system's)</translation>
    </message>
    <message id="CliOptionMaxDownload">
        <source>refuse a release archive download larger than this (default 64)</source>
        <extracomment>Command-line help: --max-download-mib.</extracomment>
        <translation>refuse a release archive download larger than this (default 64)</translation>
    </message>
    <message id="CliOptionNeedsMiB">
        <source>%1 needs a size in MiB above 0</source>
        <extracomment>Command-line usage error: bad --max-download-mib. %1 = the option.</extracomment>
        <translation>%1 needs a size in MiB above 0</translation>
    </message>
    <message id="CliOptionNeedsSeconds">
        <source>%1 needs a number of seconds</source>
        <extracomment>Command-line usage error: bad --wait. %1 = the option.</extracomment>
        <translation>%1 needs a number of seconds</translation>
    </message>
    <message id="CliOptionNeedsSecondsAboveZero">
        <source>%1 needs a number of seconds above 0</source>
        <extracomment>Command-line usage error: bad --restart-wait or --silence-limit. %1 = the option.</extracomment>
        <translation>%1 needs a number of seconds above 0</translation>
    </message>
    <message id="CliOptionNeedsValue">
        <source>%1 needs a value</source>
        <extracomment>Command-line usage error: an option given without its value. %1 = the option.</extracomment>
        <translation>%1 needs a value</translation>
    </message>
    <message id="CliOptionRequired">
        <source>%1 is required</source>
        <extracomment>Command-line usage error: a required option is missing. %1 = the option.</extracomment>
        <translation>%1 is required</translation>
    </message>
    <message id="CliOptionRestartWait">
        <source>how long a controller may take to come back after a restart (default 60)</source>
        <extracomment>Command-line help: --restart-wait.</extracomment>
        <translation>how long a controller may take to come back after a restart (default 60)</translation>
    </message>
    <message id="CliOptionServer">
        <source>firmware server address (http: or https:)</source>
        <extracomment>Command-line help: --server.</extracomment>
        <translation>firmware server address (http: or https:)</translation>
    </message>
    <message id="CliOptionSilenceLimit">
        <source>how long a controller may stay silent during a transfer (default 10)</source>
        <extracomment>Command-line help: --silence-limit.</extracomment>
        <translation>how long a controller may stay silent during a transfer (default 10)</translation>
    </message>
    <message id="CliOptionSimulate">
        <source>use the simulated controller (same as --device sim)</source>
        <extracomment>Command-line help: --simulate.</extracomment>
        <translation>use the simulated controller (same as --device sim)</translation>
    </message>
    <message id="CliOptionTakesNoValue">
        <source>%1 takes no value</source>
        <extracomment>Command-line usage error: a switch given a value. %1 = the option.</extracomment>
        <translation>%1 takes no value</translation>
    </message>
    <message id="CliOptionTrustKey">
        <source>trust this release key (base64 of a raw 32-byte Ed25519 public key); repeatable. With a trusted key an online release installs only when its signature verifies, and the release list only when signed by it</source>
        <extracomment>Command-line help: --trust-key.</extracomment>
        <translation>trust this release key (base64 of a raw 32-byte Ed25519 public key); repeatable. With a trusted key an online release installs only when its signature verifies, and the release list only when signed by it</translation>
    </message>
    <message id="CliOptionTrustRoot">
        <source>trust this root key (as keygen prints it); repeatable. Release and list signatures then verify with the keys of the key set the root signed</source>
        <extracomment>Command-line help: --trust-root.</extracomment>
        <translation>trust this root key (as keygen prints it); repeatable. Release and list signatures then verify with the keys of the key set the root signed</translation>
    </message>
    <message id="CliOptionVersion">
        <source>show the program's version</source>
        <extracomment>Command-line help: --version.</extracomment>
        <translation>show the program's version</translation>
    </message>
    <message id="CliOptionWait">
        <source>how long to wait for a controller to attach (default 5)</source>
        <extracomment>Command-line help: --wait.</extracomment>
        <translation>how long to wait for a controller to attach (default 5)</translation>
    </message>
    <message id="CliOptionsExclusive">
        <source>%1 and %2 cannot be given together</source>
        <extracomment>Command-line usage error: two options that exclude each other. %1, %2 = the options.</extracomment>
        <translation>%1 and %2 cannot be given together</translation>
    </message>
    <message id="CliPublishBaseUrl">
        <source>where OUT is served (default: the firmware server address)</source>
        <extracomment>Command-line help: publish --base-url.</extracomment>
        <translation>where OUT is served (default: the firmware server address)</translation>
    </message>
    <message id="CliPublishHelp">
        <source>write the same list and archives as a static site into OUT for any web host: OUT/firmware/update/r1 and OUT/releases/. With --sign-key, each release and the list as a whole are signed (OUT/firmware/update/r1.sig)</source>
        <extracomment>Command-line help: the publish command.</extracomment>
        <translation>write the same list and archives as a static site into OUT for any web host: OUT/firmware/update/r1 and OUT/releases/. With --sign-key, each release and the list as a whole are signed (OUT/firmware/update/r1.sig)</translation>
    </message>
    <message id="CliPublishNeedsFolder">
        <source>publish needs a folder of release archives</source>
        <extracomment>Command-line usage error: publish was not given a folder.</extracomment>
        <translation>publish needs a folder of release archives</translation>
    </message>
    <message id="CliPublishSignKey">
        <source>the release key to sign with (PEM)</source>
        <extracomment>Command-line help: publish --sign-key.</extracomment>
        <translation>the release key to sign with (PEM)</translation>
    </message>
    <message id="CliReleasesHelp">
        <source>list the releases, newest first: version, then notes or path; online releases then signed, unchecked (signed, no key trusted), invalid or unsigned</source>
        <extracomment>Command-line help: the releases command.</extracomment>
        <translation>list the releases, newest first: version, then notes or path; online releases then signed, unchecked (signed, no key trusted), invalid or unsigned</translation>
    </message>
    <message id="CliReleasesLocal">
        <source>only the local releases</source>
        <extracomment>Command-line help: releases --local.</extracomment>
        <translation>only the local releases</translation>
    </message>
    <message id="CliReleasesOnline">
        <source>only the online releases</source>
        <extracomment>Command-line help: releases --online.</extracomment>
        <translation>only the online releases</translation>
    </message>
    <message id="CliRumbleHelp">
        <source>run the motors of the first controller that has them: all at full strength, or each motor named at its own strength; --light sets its light</source>
        <extracomment>Command-line help: the rumble command.</extracomment>
        <translation>run the motors of the first controller that has them: all at full strength, or each motor named at its own strength; --light sets its light</translation>
    </message>
    <message id="CliRumbleSeconds">
        <source>how long (default 0.5)</source>
        <extracomment>Command-line help: rumble --seconds.</extracomment>
        <translation>how long (default 0.5)</translation>
    </message>
    <message id="CliRunJson">
        <source>one event a line on standard output: phase, download, progress, and last the outcome (completed, failed or cancelled)</source>
        <extracomment>Command-line help: flash/upgrade --json. Keep the event names literally.</extracomment>
        <translation>one event a line on standard output: phase, download, progress, and last the outcome (completed, failed or cancelled)</translation>
    </message>
    <message id="CliSecondsRange">
        <source>%1 takes a number above 0 and at most %2</source>
        <extracomment>Command-line usage error: a number of seconds out of range. %1 = the option, %2 = the largest value.</extracomment>
        <translation>%1 takes a number above 0 and at most %2</translation>
    </message>
    <message id="CliServeDoesNotSign">
        <source>serve does not sign: sign the site offline with `publish DIR OUT --sign-key FILE` and serve it with `serve --site OUT`</source>
        <extracomment>Command-line usage error: serve was given a signing key. Keep the commands literally.</extracomment>
        <translation>serve does not sign: sign the site offline with `publish DIR OUT --sign-key FILE` and serve it with `serve --site OUT`</translation>
    </message>
    <message id="CliServeHelp">
        <source>serve a folder of release archives as the firmware server does, with their SHA-256, unsigned (for development); with --site, serve a published site as a static web host would</source>
        <extracomment>Command-line help: the serve command.</extracomment>
        <translation>serve a folder of release archives as the firmware server does, with their SHA-256, unsigned (for development); with --site, serve a published site as a static web host would</translation>
    </message>
    <message id="CliServeListen">
        <source>address to listen on (default 127.0.0.1:8080; port 0 picks a free port)</source>
        <extracomment>Command-line help: serve --listen.</extracomment>
        <translation>address to listen on (default 127.0.0.1:8080; port 0 picks a free port)</translation>
    </message>
    <message id="CliServeNeedsFolder">
        <source>serve needs a folder of release archives</source>
        <extracomment>Command-line usage error: serve was not given a folder.</extracomment>
        <translation>serve needs a folder of release archives</translation>
    </message>
    <message id="CliServeNeedsSite">
        <source>serve --site needs a site written by publish (OUT/firmware/update/r1)</source>
        <extracomment>Command-line usage error: serve --site was not given a published site.</extracomment>
        <translation>serve --site needs a site written by publish (OUT/firmware/update/r1)</translation>
    </message>
    <message id="CliServeSignKey">
        <source>refused: sign a site offline with publish</source>
        <extracomment>Command-line help: serve --sign-key, which is refused.</extracomment>
        <translation>refused: sign a site offline with publish</translation>
    </message>
    <message id="CliServeSite">
        <source>a site written by publish</source>
        <extracomment>Command-line help: serve --site.</extracomment>
        <translation>a site written by publish</translation>
    </message>
    <message id="CliSignExpires">
        <source>the list or key set expires after DAYS (default 30, fractions allowed)</source>
        <extracomment>Command-line help: --expires.</extracomment>
        <translation>the list or key set expires after DAYS (default 30, fractions allowed)</translation>
    </message>
    <message id="CliSignKeysAdd">
        <source>add these public keys (base64); repeatable</source>
        <extracomment>Command-line help: sign-keys --add.</extracomment>
        <translation>add these public keys (base64); repeatable</translation>
    </message>
    <message id="CliSignKeysHelp">
        <source>write a new key set signed by the root into OUT/firmware/update/keys.json: one version higher, the current keys kept unless removed (by key id)</source>
        <extracomment>Command-line help: the sign-keys command.</extracomment>
        <translation>write a new key set signed by the root into OUT/firmware/update/keys.json: one version higher, the current keys kept unless removed (by key id)</translation>
    </message>
    <message id="CliSignKeysRemove">
        <source>remove the keys with these key ids; repeatable</source>
        <extracomment>Command-line help: sign-keys --remove.</extracomment>
        <translation>remove the keys with these key ids; repeatable</translation>
    </message>
    <message id="CliSignKeysRoot">
        <source>the root key to sign with (PEM); required</source>
        <extracomment>Command-line help: sign-keys --root-key.</extracomment>
        <translation>the root key to sign with (PEM); required</translation>
    </message>
    <message id="CliSignListHelp">
        <source>sign a published site's list again: a new expiry, a version one higher</source>
        <extracomment>Command-line help: the sign-list command.</extracomment>
        <translation>sign a published site's list again: a new expiry, a version one higher</translation>
    </message>
    <message id="CliSignListKey">
        <source>the release key to sign with (PEM); required</source>
        <extracomment>Command-line help: sign-list --sign-key.</extracomment>
        <translation>the release key to sign with (PEM); required</translation>
    </message>
    <message id="CliSignListVersion">
        <source>the list's version (default one above the site's current list)</source>
        <extracomment>Command-line help: --list-version.</extracomment>
        <translation>the list's version (default one above the site's current list)</translation>
    </message>
    <message id="CliSleepNotHeldOff">
        <source>Sleep could not be held off (%1); keep the computer awake until the upgrade ends.</source>
        <extracomment>Command line, standard error, once: the system's sleep lock (logind on the system bus) could not be taken; the upgrade goes on. %1 = the bus's reason, in English (e.g. 'Failed to connect to socket /run/dbus/system_bus_socket: No such file or directory').</extracomment>
        <translation>Sleep could not be held off (%1); keep the computer awake until the upgrade ends.</translation>
    </message>
    <message id="CliUnexpectedArgument">
        <source>unexpected argument %1</source>
        <extracomment>Command-line usage error: a word the command does not take. %1 = the word.</extracomment>
        <translation>unexpected argument %1</translation>
    </message>
    <message id="CliUnknownCommand">
        <source>unknown command %1</source>
        <extracomment>Command-line usage error: a command that does not exist. %1 = the word given.</extracomment>
        <translation>unknown command %1</translation>
    </message>
    <message id="CliUnknownOption">
        <source>unknown option %1</source>
        <extracomment>Command-line usage error: an option that does not exist. %1 = the option as given.</extracomment>
        <translation>unknown option %1</translation>
    </message>
    <message id="CliUpgradeAllowOlder">
        <source>allow a named release older than the controller's firmware</source>
        <extracomment>Command-line help: upgrade --allow-older.</extracomment>
        <translation>allow a named release older than the controller's firmware</translation>
    </message>
    <message id="CliUpgradeHelp">
        <source>bring the controller to a release: local, online (downloaded and checked), or the newest online; exit 0 only when the controller then reports the release's versions. --latest sends nothing when the controller runs it or a newer one; an older named release needs --allow-older</source>
        <extracomment>Command-line help: the upgrade command. Keep option names literally.</extracomment>
        <translation>bring the controller to a release: local, online (downloaded and checked), or the newest online; exit 0 only when the controller then reports the release's versions. --latest sends nothing when the controller runs it or a newer one; an older named release needs --allow-older</translation>
    </message>
    <message id="CliUpgradeLatest">
        <source>the newest online release</source>
        <extracomment>Command-line help: upgrade --latest.</extracomment>
        <translation>the newest online release</translation>
    </message>
    <message id="CliUpgradeLocal">
        <source>a local release</source>
        <extracomment>Command-line help: upgrade --local.</extracomment>
        <translation>a local release</translation>
    </message>
    <message id="CliUpgradeNeedsOneSource">
        <source>upgrade needs one of --local VERSION, --online VERSION or --latest</source>
        <extracomment>Command-line usage error: upgrade needs exactly one release source. Keep option names literally.</extracomment>
        <translation>upgrade needs one of --local VERSION, --online VERSION or --latest</translation>
    </message>
    <message id="CliUpgradeOnline">
        <source>an online release, downloaded and checked</source>
        <extracomment>Command-line help: upgrade --online.</extracomment>
        <translation>an online release, downloaded and checked</translation>
    </message>
    <message id="CliUsageError">
        <source>Usage error: %1</source>
        <extracomment>Command-line tools: a usage problem. %1 = details of the problem.</extracomment>
        <translation>Usage error: %1</translation>
    </message>
    <message id="CliVersionsHelp">
        <source>print the controller's versions (boot-left-right) and device information</source>
        <extracomment>Command-line help: the versions command.</extracomment>
        <translation>print the controller's versions (boot-left-right) and device information</translation>
    </message>
    <message id="CliVersionsJson">
        <source>the same fields as one JSON object</source>
        <extracomment>Command-line help: versions --json.</extracomment>
        <translation>the same fields as one JSON object</translation>
    </message>
    <message id="Close">
        <source>Close</source>
        <extracomment>Accessible name of every close button.</extracomment>
        <translation>Close</translation>
    </message>
    <message id="CloseDescription">
        <source>Closes this and goes back</source>
        <extracomment>Accessible description of every close button (the Escape key does the same).</extracomment>
        <translation>Closes this and goes back</translation>
    </message>
    <message id="CloseUpgradeViewAlertMessage">
        <source>The firmware upgrade is in progress. Please wait until it has finished.</source>
        <extracomment>Toast (1.5 s) when the user tries to close the upgrade screen while an upgrade is running.</extracomment>
        <translation>The firmware upgrade is in progress. Please wait until it has finished.</translation>
    </message>
    <message id="Confirm">
        <source>Confirm</source>
        <extracomment>Button of the 'open the App Store' alert on the game list page; leaves the application for the App Store.</extracomment>
        <translation>Confirm</translation>
    </message>
    <message id="ConnectControllerToComputerPrompt">
        <source>Connect the Q3 Dart controller to this computer</source>
        <extracomment>Toast (1.5 s) when the upgrade or the key test is asked for while no controller is attached to this computer.</extracomment>
        <translation>Connect the Q3 Dart controller to this computer</translation>
    </message>
    <message id="ConnectGamepadPropmt">
        <source>Please connect the Q3 Dart controller.</source>
        <extracomment>Home screen: prompt asking the user to attach the controller. Also a toast (3 s) when the upgrade button is pressed with no controller connected.</extracomment>
        <translation>Please connect the Q3 Dart controller.</translation>
    </message>
    <message id="ControllerDidNotReturn">
        <source>The controller did not come back after restarting. Please check the connection and try again.</source>
        <extracomment>Upgrade engine / command-line: after an expected restart the controller did not reconnect within the wait time.</extracomment>
        <translation>The controller did not come back after restarting. Please check the connection and try again.</translation>
    </message>
    <message id="ControllerIdentity">
        <source>Controller %1 · hardware %2 · protocol %3 · made %4</source>
        <extracomment>Who the attached controller is: %1 = Bluetooth address, %2 = hardware version, %3 = protocol version, %4 = production date (YYYY-MM-DD).</extracomment>
        <translation>Controller %1 · hardware %2 · protocol %3 · made %4</translation>
    </message>
    <message id="CurrentVersion">
        <source>Current version</source>
        <extracomment>Connected and upgrade screens: caption of the controller's current firmware version (followed by the ':' text).</extracomment>
        <translation>Current version</translation>
    </message>
    <message id="DeviceArgumentInvalid">
        <source>Invalid device "%1". Use sim, tcp:HOST:PORT or serial:PATH.</source>
        <extracomment>Command-line: the --device value is not one of the accepted forms. %1 = the value given. Keep sim, tcp:HOST:PORT and serial:PATH literally.</extracomment>
        <translation>Invalid device "%1". Use sim, tcp:HOST:PORT or serial:PATH.</translation>
    </message>
    <message id="DeviceCannotUpgrade">
        <source>The controller refused the firmware upgrade</source>
        <extracomment>Toast when the controller refuses to start receiving a left-side or boot loader image.</extracomment>
        <translation>The controller refused the firmware upgrade</translation>
    </message>
    <message id="DifferentControllerReturned">
        <source>A different controller came back after the restart. Nothing was sent to it; reconnect the controller you started the upgrade on and try again.</source>
        <extracomment>Upgrade failure: after a restart, a controller with another Bluetooth address answered; the run stops.</extracomment>
        <translation>A different controller came back after the restart. Nothing was sent to it; reconnect the controller you started the upgrade on and try again.</translation>
    </message>
    <message id="DirectionDown">
        <source>down</source>
        <extracomment>Controller check: a stick direction.</extracomment>
        <translation>down</translation>
    </message>
    <message id="DirectionDownLeft">
        <source>down-left</source>
        <extracomment>Controller check: a stick direction.</extracomment>
        <translation>down-left</translation>
    </message>
    <message id="DirectionDownRight">
        <source>down-right</source>
        <extracomment>Controller check: a stick direction.</extracomment>
        <translation>down-right</translation>
    </message>
    <message id="DirectionLeft">
        <source>left</source>
        <extracomment>Controller check: a stick direction.</extracomment>
        <translation>left</translation>
    </message>
    <message id="DirectionRight">
        <source>right</source>
        <extracomment>Controller check: a stick direction.</extracomment>
        <translation>right</translation>
    </message>
    <message id="DirectionUp">
        <source>up</source>
        <extracomment>Controller check: a stick direction.</extracomment>
        <translation>up</translation>
    </message>
    <message id="DirectionUpLeft">
        <source>up-left</source>
        <extracomment>Controller check: a stick direction.</extracomment>
        <translation>up-left</translation>
    </message>
    <message id="DirectionUpRight">
        <source>up-right</source>
        <extracomment>Controller check: a stick direction.</extracomment>
        <translation>up-right</translation>
    </message>
    <message id="DownloadDigestMismatch">
        <source>The downloaded firmware is damaged (its checksum does not match) and was deleted. Please try again.</source>
        <extracomment>Toast (3 s) when a downloaded release archive does not match the digest the firmware server gave; the download is deleted.</extracomment>
        <translation>The downloaded firmware is damaged (its checksum does not match) and was deleted. Please try again.</translation>
    </message>
    <message id="DownloadFirmwareFailed">
        <source>Firmware download failed. Please check your network connection and try again.</source>
        <extracomment>Toast (3 s) when downloading an online firmware release fails.</extracomment>
        <translation>Firmware download failed. Please check your network connection and try again.</translation>
    </message>
    <message id="DownloadNameRefused">
        <source>The firmware server offered the release under a file name that cannot be used ("%1"), so nothing was downloaded. Please tell the server's operator.</source>
        <extracomment>Upgrade failure when the server's file name for a release archive is refused (empty, hidden, or that of the application's own records or another release's archive); %1 = the name the server gave. Nothing was written.</extracomment>
        <translation>The firmware server offered the release under a file name that cannot be used ("%1"), so nothing was downloaded. Please tell the server's operator.</translation>
    </message>
    <message id="DownloadTooLarge">
        <source>The firmware download is larger than %1 MiB and was stopped.</source>
        <extracomment>A release archive download exceeds the size limit; %1 = the limit in MiB.</extracomment>
        <translation>The firmware download is larger than %1 MiB and was stopped.</translation>
    </message>
    <message id="DownloadWriteFailed">
        <source>The firmware could not be saved in the documents folder (%1). Free some disk space and try again.</source>
        <extracomment>Upgrade failure when a downloaded release archive, or its unpacked images, cannot be written to the documents folder (a full disk, no permission); %1 = the reason, in English (e.g. 'cannot write /home/u/Documents/1.2-1.3-1.4.zip: No space left on device'). Nothing was sent to the controller.</extracomment>
        <translation>The firmware could not be saved in the documents folder (%1). Free some disk space and try again.</translation>
    </message>
    <message id="EmptyFirmware">
        <source>No firmware available</source>
        <extracomment>Firmware list overlay: shown instead of rows when the local or online list is empty.</extracomment>
        <translation>No firmware available</translation>
    </message>
    <message id="FirmwareIsInvalid">
        <source>The firmware file is invalid or cannot be read.</source>
        <extracomment>Toast (1.5 s) when a firmware image file is missing or unreadable at the start of a transfer.</extracomment>
        <translation>The firmware file is invalid or cannot be read.</translation>
    </message>
    <message id="FirmwareTooLarge">
        <source>The firmware file %1 is too large for the controller.</source>
        <extracomment>An image is too large for its region on the controller (65536 bytes or more); the transfer is refused. %1 = file name.</extracomment>
        <translation>The firmware file %1 is too large for the controller.</translation>
    </message>
    <message id="FirmwareUpgrade">
        <source>Firmware Upgrade</source>
        <extracomment>Connected screen: caption of the button that opens the upgrade screen.</extracomment>
        <translation>Firmware Upgrade</translation>
    </message>
    <message id="FirmwareUpgradeDescription">
        <source>Choose a release and bring the controller's firmware up to date</source>
        <extracomment>Accessible description of the connected screen's upgrade tile.</extracomment>
        <translation>Choose a release and bring the controller's firmware up to date</translation>
    </message>
    <message id="FirmwareVersionSamePropmt">
        <source>The controller already has this firmware version. No upgrade is needed.</source>
        <extracomment>Upgrade screen: toast (3 s) when the chosen release matches the controller's versions.</extracomment>
        <translation>The controller already has this firmware version. No upgrade is needed.</translation>
    </message>
    <message id="FlashImagesSent">
        <source>All firmware images were accepted. The controller now reports version %1.</source>
        <extracomment>Command-line: every image was acknowledged by the controller. %1 = the controller's version text now (boot-left-right).</extracomment>
        <translation>All firmware images were accepted. The controller now reports version %1.</translation>
    </message>
    <message id="GameControllerLibraryMissing">
        <source>the controller library could not be loaded (%1)</source>
        <extracomment>Game controllers: reason shown in GameControllersUnavailable when the controller library cannot be loaded. %1 = the system's reason (in English), naming the file or the function that is missing.</extracomment>
        <translation>the controller library could not be loaded (%1)</translation>
    </message>
    <message id="GameControllerMappingsUnreadable">
        <source>The game controller mappings in %1 cannot be used: %2</source>
        <extracomment>Game controllers: the mapping file could not be read. %1 = its path; %2 = the reason.</extracomment>
        <translation>The game controller mappings in %1 cannot be used: %2</translation>
    </message>
    <message id="GameControllerSourceBusy">
        <source>another part of the program is already reading the controllers</source>
        <extracomment>Game controllers: reason shown in GameControllersUnavailable when another part of the program already reads the controllers.</extracomment>
        <translation>another part of the program is already reading the controllers</translation>
    </message>
    <message id="GameControllersUnavailable">
        <source>Game controllers cannot be used: %1</source>
        <extracomment>Game controllers: the machine's own controllers cannot be followed; virtual controllers still work. %1 = the reason (often a text from the controller library, in English).</extracomment>
        <translation>Game controllers cannot be used: %1</translation>
    </message>
    <message id="GamepadDisconnectByUpgradingFirmwarePrompt">
        <source>The controller is restarting as part of the upgrade. Please keep it connected.</source>
        <extracomment>Upgrade screen: warning line when the controller drops off for its expected restart during an upgrade.</extracomment>
        <translation>The controller is restarting as part of the upgrade. Please keep it connected.</translation>
    </message>
    <message id="GamepadDisconnectManuallyPrompt">
        <source>The controller has been disconnected.</source>
        <extracomment>Toast (3 s) when the controller is unplugged; also the upgrade screen's warning line after an unexpected disconnection.</extracomment>
        <translation>The controller has been disconnected.</translation>
    </message>
    <message id="GamepadFirmwareDamaged">
        <source>Unable to read the controller's firmware version. Its firmware may be damaged.</source>
        <extracomment>Upgrade screen: toast (3 s) when a release is chosen but the controller's versions have not been read.</extracomment>
        <translation>Unable to read the controller's firmware version. Its firmware may be damaged.</translation>
    </message>
    <message id="GettingStarted">
        <source>Getting Started</source>
        <extracomment>Home screen: title of the button that opens the tutorial page.</extracomment>
        <translation>Getting Started</translation>
    </message>
    <message id="HistoryController">
        <source>controller %1</source>
        <extracomment>Upgrade history: the Bluetooth address of the controller a run was for; %1 = the address.</extracomment>
        <translation>controller %1</translation>
    </message>
    <message id="HistoryEmpty">
        <source>No upgrade has been recorded yet.</source>
        <extracomment>Command-line: the history command found no recorded upgrade runs.</extracomment>
        <translation>No upgrade has been recorded yet.</translation>
    </message>
    <message id="HistoryFiles">
        <source>Image files</source>
        <extracomment>Upgrade history: a run that sent loose image files rather than a release.</extracomment>
        <translation>Image files</translation>
    </message>
    <message id="HistoryRelease">
        <source>Release %1</source>
        <extracomment>Upgrade history: the release a run installed. %1 = its version, boot-left-right.</extracomment>
        <translation>Release %1</translation>
    </message>
    <message id="HistoryUnreadable">
        <source>The upgrade history %1 cannot be read.</source>
        <extracomment>Command-line: the upgrade history file exists but cannot be read. %1 = the file's path.</extracomment>
        <translation>The upgrade history %1 cannot be read.</translation>
    </message>
    <message id="HistoryVersions">
        <source>Versions %1 → %2</source>
        <extracomment>Upgrade history: the controller's versions before and after a run. %1 = before, %2 = after; ? where unknown.</extracomment>
        <translation>Versions %1 → %2</translation>
    </message>
    <message id="ImportCopyFailed">
        <source>The firmware package could not be written to the application's folder (%1). Nothing was imported; check the free disk space and try again.</source>
        <extracomment>Toast (3 s) when importing a firmware package fails on the application's side: its copy or its unpacked files cannot be written (disk full, a file in the way); %1 = the system's reason, in English (e.g. 'No space left on device'). The release folder is left as it was.</extracomment>
        <translation>The firmware package could not be written to the application's folder (%1). Nothing was imported; check the free disk space and try again.</translation>
    </message>
    <message id="ImportReadFailed">
        <source>The file could not be read (%1). Nothing was imported.</source>
        <extracomment>Toast (3 s) when a firmware package opened into the application cannot be read (missing, no permission, a read error); %1 = the system's reason, in English.</extracomment>
        <translation>The file could not be read (%1). Nothing was imported.</translation>
    </message>
    <message id="CryptoLibraryUnavailable">
        <source>The cryptography library could not be loaded (%1): no file digest can be computed and no release signature checked. Install OpenSSL's libcrypto 3 and start again.</source>
        <extracomment>Any program, when a file digest or a release signature is first needed: libcrypto, loaded then, is missing or incomplete; %1 = the system loader's text naming the file. Digests and signature checks fail until it is installed.</extracomment>
        <translation>The cryptography library could not be loaded (%1): no file digest can be computed and no release signature checked. Install OpenSSL's libcrypto 3 and start again.</translation>
    </message>
    <message id="InfoKeysInvalid">
        <source>The information dictionary's %1 holds an entry that is not the base64 of a 32-byte Ed25519 public key ("%2"). Correct it before starting again: no release can be trusted until then.</source>
        <extracomment>Start-up (application and command line): the information dictionary's trusted-key array is malformed; %1 = the key (Q3DartReleaseKeys or Q3DartRootKeys), %2 = the bad entry. The program stops.</extracomment>
        <translation>The information dictionary's %1 holds an entry that is not the base64 of a 32-byte Ed25519 public key ("%2"). Correct it before starting again: no release can be trusted until then.</translation>
    </message>
    <message id="Joystick">
        <source>Joysticks</source>
        <extracomment>Key test screen: caption of the two sticks' section.</extracomment>
        <translation>Joysticks</translation>
    </message>
    <message id="JumpToAppStorePrompt">
        <source>Open this game's store page in your web browser?</source>
        <extracomment>Games page: question before a store link opens in the web browser, when the link names no game.</extracomment>
        <translation>Open this game's store page in your web browser?</translation>
    </message>
    <message id="KeyHome">
        <source>Home</source>
        <extracomment>Title of the home key on the key test screen</extracomment>
        <translation>Home</translation>
    </message>
    <message id="KeyMenu">
        <source>Menu</source>
        <extracomment>Title of the menu key on the key test screen</extracomment>
        <translation>Menu</translation>
    </message>
    <message id="KeyOptions">
        <source>Options</source>
        <extracomment>Title of the options key on the key test screen</extracomment>
        <translation>Options</translation>
    </message>
    <message id="KeyTest">
        <source>Key Test</source>
        <extracomment>Connected screen: caption of the button that opens the key test screen.</extracomment>
        <translation>Key Test</translation>
    </message>
    <message id="KeyTestDescription">
        <source>Check every key and both sticks of the controller</source>
        <extracomment>Accessible description of the connected screen's key test tile.</extracomment>
        <translation>Check every key and both sticks of the controller</translation>
    </message>
    <message id="KeyTestListening">
        <source>Listening for game controllers; press Ctrl+C to stop.</source>
        <extracomment>Command-line key test: shown on standard error when it starts listening.</extracomment>
        <translation>Listening for game controllers; press Ctrl+C to stop.</translation>
    </message>
    <message id="LatestVersion">
        <source>Latest version</source>
        <extracomment>Connected and upgrade screens: caption of the newest online firmware version (followed by the ':' text).</extracomment>
        <translation>Latest version</translation>
    </message>
    <message id="LeftKeys">
        <source>Left Keys</source>
        <extracomment>Key test screen: caption of the left-side keys section.</extracomment>
        <translation>Left Keys</translation>
    </message>
    <message id="LightColour">
        <source>Light</source>
        <extracomment>Key test screen: button that sets the controller's light to the next colour.</extracomment>
        <translation>Light</translation>
    </message>
    <message id="LightRefused">
        <source>%1 did not accept the light colour.</source>
        <extracomment>Key test screen: the controller refused to set its light. %1 = controller name.</extracomment>
        <translation>%1 did not accept the light colour.</translation>
    </message>
    <message id="LocalFirmware">
        <source>Local Firmware</source>
        <extracomment>Upgrade screen: title of the button that opens the list of releases stored on this device.</extracomment>
        <translation>Local Firmware</translation>
    </message>
    <message id="MFiGame">
        <source>Supported Games</source>
        <extracomment>Home screen: title of the button that opens the list of supported games; connected screen: caption of the same button; the games page's title.</extracomment>
        <translation>Supported Games</translation>
    </message>
    <message id="MFiGameDescription">
        <source>Games that support the controller</source>
        <extracomment>Accessible description of the buttons that open the game list.</extracomment>
        <translation>Games that support the controller</translation>
    </message>
    <message id="MappingFileTooLarge">
        <source>the file is larger than 16 MB</source>
        <extracomment>Game controllers: reason shown in GameControllerMappingsUnreadable when the mapping file is too large.</extracomment>
        <translation>the file is larger than 16 MB</translation>
    </message>
    <message id="NetworkModuleMissing">
        <source>The network component of the app (%1) is missing: it was looked for in %2. Reinstalling the app should restore it.</source>
        <extracomment>An HTTP request (release list, download) or a demo server could not start because the network component is not installed; %1 = its file name, %2 = the places looked in.</extracomment>
        <translation>The network component of the app (%1) is missing: it was looked for in %2. Reinstalling the app should restore it.</translation>
    </message>
    <message id="NetworkModuleUnusable">
        <source>The network component of the app (%1) cannot be loaded: %2. Reinstalling the app should restore it.</source>
        <extracomment>An HTTP request or a demo server could not start because the network component is damaged; %1 = its file, %2 = the system loader's reason.</extracomment>
        <translation>The network component of the app (%1) cannot be loaded: %2. Reinstalling the app should restore it.</translation>
    </message>
    <message id="NoControllerAnswered">
        <source>No device on %1 answered as a controller within %3 s. Devices tried: %2</source>
        <extracomment>Command-line: with no device named, every USB serial device was asked for its versions and none answered. %1 = the transport (usb-serial); %2 = the devices asked, comma-separated; %3 = the wait in seconds.</extracomment>
        <translation>No device on %1 answered as a controller within %3 s. Devices tried: %2</translation>
    </message>
    <message id="NoControllerAttached">
        <source>No controller was found on %1 within %3 s. %2</source>
        <extracomment>Command-line / engine: no controller appeared on the chosen device in time. %1 = device description (e.g. tcp:127.0.0.1:5000); %2 = the transport's last error text, may be empty; %3 = the wait in seconds.</extracomment>
        <translation>No controller was found on %1 within %3 s. %2</translation>
    </message>
    <message id="NoControllerConnected">
        <source>No game controller is connected.</source>
        <extracomment>Key test screen: the analogue panel when no controller is connected.</extracomment>
        <translation>No game controller is connected.</translation>
    </message>
    <message id="NoNewerVersion">
        <source>No newer version</source>
        <extracomment>Connected and upgrade screens: shown as the latest version when the firmware server answered with no release the controller can take (a server that could not be reached shows ServerUnreachable instead).</extracomment>
        <translation>No newer version</translation>
    </message>
    <message id="NoRumbleController">
        <source>No connected game controller has rumble motors.</source>
        <extracomment>Command-line rumble: no connected controller has motors.</extracomment>
        <translation>No connected game controller has rumble motors.</translation>
    </message>
    <message id="OlderReleaseConfirm">
        <source>Install older version %1? The controller runs %2, which is newer in some part; what it gains there is lost.</source>
        <extracomment>Upgrade screen question before an older release is installed; %1 = the release, %2 = the controller's versions.</extracomment>
        <translation>Install older version %1? The controller runs %2, which is newer in some part; what it gains there is lost.</translation>
    </message>
    <message id="OlderVersionRefused">
        <source>Release %1 is older than the controller's firmware %2. Add --allow-older to install it anyway.</source>
        <extracomment>Command-line: upgrade to a release older than the controller's firmware without --allow-older. %1 = the release's version; %2 = the controller's version (boot-left-right).</extracomment>
        <translation>Release %1 is older than the controller's firmware %2. Add --allow-older to install it anyway.</translation>
    </message>
    <message id="OnlineFirmware">
        <source>Online Firmware</source>
        <extracomment>Upgrade screen: title of the button that opens the list of releases offered by the firmware server.</extracomment>
        <translation>Online Firmware</translation>
    </message>
    <message id="OutcomeCancelled">
        <source>Cancelled</source>
        <extracomment>Upgrade history: a run that was cancelled.</extracomment>
        <translation>Cancelled</translation>
    </message>
    <message id="OutcomeCompleted">
        <source>Completed</source>
        <extracomment>Upgrade history: a run that completed, its versions read back.</extracomment>
        <translation>Completed</translation>
    </message>
    <message id="OutcomeFailed">
        <source>Failed</source>
        <extracomment>Upgrade history: a run that failed.</extracomment>
        <translation>Failed</translation>
    </message>
    <message id="PadChoice">
        <source>%1 (player %2)</source>
        <extracomment>Key test screen: an entry of the controller choice. %1 = controller name; %2 = player index.</extracomment>
        <translation>%1 (player %2)</translation>
    </message>
    <message id="PhaseBootLoader">
        <source>Sending the boot loader…</source>
        <extracomment>Upgrade screen: the run sends the boot loader image.</extracomment>
        <translation>Sending the boot loader…</translation>
    </message>
    <message id="PhaseDigestCheck">
        <source>Checking the download…</source>
        <extracomment>Upgrade screen: the downloaded archive's checksum is being checked.</extracomment>
        <translation>Checking the download…</translation>
    </message>
    <message id="PhaseDownload">
        <source>Downloading the firmware…</source>
        <extracomment>Upgrade screen: the run is downloading the release.</extracomment>
        <translation>Downloading the firmware…</translation>
    </message>
    <message id="PhaseDownloadProgress">
        <source>Downloading the firmware… %1%</source>
        <extracomment>Upgrade screen: the run is downloading the release. %1 = percent received, a whole number.</extracomment>
        <translation>Downloading the firmware… %1%</translation>
    </message>
    <message id="PhaseDownloadSize">
        <source>Downloading the firmware: %1 of %2</source>
        <extracomment>Upgrade screen: the run downloads the release; %1 = size received, %2 = the archive's size (such as 1.2 MB).</extracomment>
        <translation>Downloading the firmware: %1 of %2</translation>
    </message>
    <message id="PhaseLeft">
        <source>Sending the left side's firmware…</source>
        <extracomment>Upgrade screen: the run sends the left side's image.</extracomment>
        <translation>Sending the left side's firmware…</translation>
    </message>
    <message id="PhaseRestart">
        <source>Waiting for the controller to restart…</source>
        <extracomment>Upgrade screen: all images were accepted; waiting for the controller to come back from its restart.</extracomment>
        <translation>Waiting for the controller to restart…</translation>
    </message>
    <message id="PhaseRight">
        <source>Sending the right side's firmware…</source>
        <extracomment>Upgrade screen: the run sends the right side's image.</extracomment>
        <translation>Sending the right side's firmware…</translation>
    </message>
    <message id="PhaseUnpack">
        <source>Unpacking the firmware…</source>
        <extracomment>Upgrade screen: the release archive is being unpacked.</extracomment>
        <translation>Unpacking the firmware…</translation>
    </message>
    <message id="PhaseVersions">
        <source>Reading the controller's versions…</source>
        <extracomment>Upgrade screen: the controller's versions are read back to confirm the upgrade.</extracomment>
        <translation>Reading the controller's versions…</translation>
    </message>
    <message id="PlayerIndex">
        <source>player %1</source>
        <extracomment>Key test screen: identity line. %1 = the controller's player index.</extracomment>
        <translation>player %1</translation>
    </message>
    <message id="QuitAnyway">
        <source>Quit anyway</source>
        <extracomment>Button of the question when the window is closed during an upgrade: closes the window and stops the upgrade.</extracomment>
        <translation>Quit anyway</translation>
    </message>
    <message id="QuitDuringUpgradePrompt">
        <source>A firmware upgrade is running. Quitting now leaves the controller unfinished; it may need the upgrade again.</source>
        <extracomment>Question when the window is closed while an upgrade runs.</extracomment>
        <translation>A firmware upgrade is running. Quitting now leaves the controller unfinished; it may need the upgrade again.</translation>
    </message>
    <message id="ReleaseKeySetExpired">
        <source>The release key set expired on %1, so the release list was refused.</source>
        <extracomment>Command line and upgrade screens: the key set signed by the root has expired; %1 = its expiry time (UTC, ISO 8601).</extracomment>
        <translation>The release key set expired on %1, so the release list was refused.</translation>
    </message>
    <message id="ReleaseKeySetInvalid">
        <source>The release key set is not signed by a trusted root key, so the release list was refused.</source>
        <extracomment>Command line and upgrade screens: a root key is trusted and the key set (keys.json) is missing, malformed or not signed by a trusted root; the release list is not used.</extracomment>
        <translation>The release key set is not signed by a trusted root key, so the release list was refused.</translation>
    </message>
    <message id="ReleaseKeySetRollback">
        <source>The release key set (version %1) is older than one already accepted from this server (version %2), so the release list was refused.</source>
        <extracomment>Command line and upgrade screens: the key set is older than one accepted before from the same server; %1 = its version, %2 = the version accepted before.</extracomment>
        <translation>The release key set (version %1) is older than one already accepted from this server (version %2), so the release list was refused.</translation>
    </message>
    <message id="ReleaseLacksImage">
        <source>The release's package lacks a firmware image (%1), so nothing was sent. Its download is forgotten: the next try downloads it anew.</source>
        <extracomment>Upgrade failure (toast, upgrade screen, command line) when an online release's unpacked download lacks an image file; %1 = the missing file names (e.g. 'V7E_ISP.bin'). Its download record is dropped, so the next try downloads it again. The controller was not touched.</extracomment>
        <translation>The release's package lacks a firmware image (%1), so nothing was sent. Its download is forgotten: the next try downloads it anew.</translation>
    </message>
    <message id="ReleaseListExpired">
        <source>The release list expired on %1, so it was refused: the server may be replaying an old list.</source>
        <extracomment>Command line and upgrade screens: the signed release list has expired; %1 = its expiry time (UTC, ISO 8601).</extracomment>
        <translation>The release list expired on %1, so it was refused: the server may be replaying an old list.</translation>
    </message>
    <message id="ReleaseListFailed">
        <source>Could not get the release list: %1</source>
        <extracomment>Command line: the online release list could not be fetched; %1 = the error.</extracomment>
        <translation>Could not get the release list: %1</translation>
    </message>
    <message id="ReleaseListRefused">
        <source>Release list refused</source>
        <extracomment>Connected and upgrade screens: shown as the latest version when a key or root is trusted and the online list or key set was refused (bad signature, expired, older than one seen); the upgrade screen shows the reason below it.</extracomment>
        <translation>Release list refused</translation>
    </message>
    <message id="ReleaseListRollback">
        <source>The release list (version %1) is older than one already accepted from this server (version %2), so it was refused.</source>
        <extracomment>Command line and upgrade screens: the signed release list is older than one accepted before from the same server; %1 = its version, %2 = the version accepted before.</extracomment>
        <translation>The release list (version %1) is older than one already accepted from this server (version %2), so it was refused.</translation>
    </message>
    <message id="ReleaseListSignatureInvalid">
        <source>The release list is not signed by a trusted key, so it was refused: it may not come from the vendor.</source>
        <extracomment>Command line and upgrade screens: a key or root is trusted and the online release list's signature (r1.sig) is missing or does not verify with a trusted key; nothing from the list is used.</extracomment>
        <translation>The release list is not signed by a trusted key, so it was refused: it may not come from the vendor.</translation>
    </message>
    <message id="ReleaseListTooLarge">
        <source>The release list is larger than %1 MiB and was refused.</source>
        <extracomment>The firmware server's release list exceeds the size limit; %1 = the limit in MiB.</extracomment>
        <translation>The release list is larger than %1 MiB and was refused.</translation>
    </message>
    <message id="ReleaseMarkInvalid">
        <source>invalid signature</source>
        <extracomment>Firmware list: mark beside an online release whose signature no trusted key verifies.</extracomment>
        <translation>invalid signature</translation>
    </message>
    <message id="ReleaseMarkLocalFile">
        <source>not signed (local file)</source>
        <extracomment>Firmware list: after a local release's version (a package the user opened into the application); local releases are installed without a signature check.</extracomment>
        <translation>not signed (local file)</translation>
    </message>
    <message id="ReleaseMarkSigned">
        <source>signed</source>
        <extracomment>Firmware list: mark beside an online release whose signature a trusted key verifies.</extracomment>
        <translation>signed</translation>
    </message>
    <message id="ReleaseMarkUnchecked">
        <source>signed, not checked</source>
        <extracomment>Firmware list: mark beside an online release that carries a signature while no key is trusted to check it.</extracomment>
        <translation>signed, not checked</translation>
    </message>
    <message id="ReleaseMarkUnsigned">
        <source>unsigned</source>
        <extracomment>Firmware list: mark beside an online release without a signature.</extracomment>
        <translation>unsigned</translation>
    </message>
    <message id="ReleaseNotFound">
        <source>Release %1 was not found.</source>
        <extracomment>Command line: no release with the version the user asked for; %1 = the version.</extracomment>
        <translation>Release %1 was not found.</translation>
    </message>
    <message id="ReleaseNotSigned">
        <source>This firmware release is not signed, so it cannot be installed. Nothing was sent to the controller.</source>
        <extracomment>Toast (3 s) and command line: a trusted release key is set and the chosen online release has no signature; nothing is downloaded, unpacked or sent.</extracomment>
        <translation>This firmware release is not signed, so it cannot be installed. Nothing was sent to the controller.</translation>
    </message>
    <message id="ReleaseSignatureInvalid">
        <source>This firmware release failed the signature check and may have been tampered with. Nothing of it was kept or sent to the controller.</source>
        <extracomment>Upgrade failure: the release's signature does not verify with a trusted key.</extracomment>
        <translation>This firmware release failed the signature check and may have been tampered with. Nothing of it was kept or sent to the controller.</translation>
    </message>
    <message id="ReleaseTrustStateDamaged">
        <source>The record of accepted release lists (%1) cannot be used: %2. Every list from this server is refused until it is mended; remove the file to trust the server afresh.</source>
        <extracomment>Command line and upgrade screens: the file recording the accepted list versions cannot be used; %1 = its path, %2 = why (e.g. its field servers › http://h › list_version is not a whole number).</extracomment>
        <translation>The record of accepted release lists (%1) cannot be used: %2. Every list from this server is refused until it is mended; remove the file to trust the server afresh.</translation>
    </message>
    <message id="ReleaseVersionUnreadable">
        <source>“%1” is not a firmware version (boot-left-right, each major.minor): this release was left out.</source>
        <extracomment>A release list entry or local release folder whose version text does not parse; %1 = the text.</extracomment>
        <translation>“%1” is not a firmware version (boot-left-right, each major.minor): this release was left out.</translation>
    </message>
    <message id="Retry">
        <source>Retry</source>
        <extracomment>Connected and upgrade screens: button beside 'Server unreachable'; asks the firmware server for the release list again.</extracomment>
        <translation>Retry</translation>
    </message>
    <message id="RightKeys">
        <source>Right Keys</source>
        <extracomment>Key test screen: caption of the right-side keys section.</extracomment>
        <translation>Right Keys</translation>
    </message>
    <message id="Rumble">
        <source>Rumble</source>
        <extracomment>Key test screen: button that runs both motors of the controller for half a second.</extracomment>
        <translation>Rumble</translation>
    </message>
    <message id="RumbleRefused">
        <source>%1 did not accept the rumble request.</source>
        <extracomment>Command-line rumble / key test: the controller refused to run its motors. %1 = controller name.</extracomment>
        <translation>%1 did not accept the rumble request.</translation>
    </message>
    <message id="RumbleRunning">
        <source>Rumbling %1 for %2 s</source>
        <extracomment>Command-line rumble: the motors run. %1 = controller name; %2 = seconds.</extracomment>
        <translation>Rumbling %1 for %2 s</translation>
    </message>
    <message id="RumbleTriggers">
        <source>Trigger rumble</source>
        <extracomment>Key test screen: button that runs the motors in the triggers for half a second.</extracomment>
        <translation>Trigger rumble</translation>
    </message>
    <message id="SelectAFirmware">
        <source>Select a firmware version</source>
        <extracomment>Upgrade screen status line before a release is chosen; also the header of the firmware list overlay.</extracomment>
        <translation>Select a firmware version</translation>
    </message>
    <message id="SelectedDamagedFirmware">
        <source>The selected firmware is invalid. Please choose another one.</source>
        <extracomment>Upgrade screen: toast (3 s) when the chosen release's version text is malformed (or nothing usable is chosen).</extracomment>
        <translation>The selected firmware is invalid. Please choose another one.</translation>
    </message>
    <message id="SelectedFirmware">
        <source>Selected firmware</source>
        <extracomment>Upgrade screen: caption before the chosen release's version (followed by the ':' text and the version).</extracomment>
        <translation>Selected firmware</translation>
    </message>
    <message id="SerialNumber">
        <source>serial %1</source>
        <extracomment>Key test screen: identity line. %1 = the controller's serial number.</extracomment>
        <translation>serial %1</translation>
    </message>
    <message id="ServerUnreachable">
        <source>Server unreachable</source>
        <extracomment>Connected and upgrade screens: shown as the latest version when the firmware server could not be reached (or did not answer with a release list); the reason and a Retry button are shown with it. Keep it short: it stands in the version's place.</extracomment>
        <translation>Server unreachable</translation>
    </message>
    <message id="ServerUnreachableReason">
        <source>Could not reach the firmware server: %1</source>
        <extracomment>Connected and upgrade screens: why the latest version is not known; %1 = the network error (English, from the system), e.g. 'Connection refused'.</extracomment>
        <translation>Could not reach the firmware server: %1</translation>
    </message>
    <message id="SleepInhibitReason">
        <source>Upgrading the controller's firmware</source>
        <extracomment>Given to the system (logind, the desktop's screen saver) as the reason it must not sleep during an upgrade; the system may show it in its power settings or when asked to suspend.</extracomment>
        <translation>Upgrading the controller's firmware</translation>
    </message>
    <message id="TransferStalled">
        <source>The firmware transfer was stopped because the controller stopped responding. Please reconnect the controller and try again.</source>
        <extracomment>Upgrade engine / command-line: a transfer got no accepted reply for too long and was stopped.</extracomment>
        <translation>The firmware transfer was stopped because the controller stopped responding. Please reconnect the controller and try again.</translation>
    </message>
    <message id="TrustKeyInvalid">
        <source>Invalid release key "%1": give the base64 of a 32-byte Ed25519 public key.</source>
        <extracomment>Command line: the value of --trust-key is not a release public key; %1 = the value given.</extracomment>
        <translation>Invalid release key "%1": give the base64 of a 32-byte Ed25519 public key.</translation>
    </message>
    <message id="TryAgain">
        <source>Try again</source>
        <extracomment>Upgrade screen: the upgrade button after a failed or cancelled run.</extracomment>
        <translation>Try again</translation>
    </message>
    <message id="Unmapped">
        <source>unmapped</source>
        <extracomment>Key test screen: identity line of a joystick that has no game-controller mapping.</extracomment>
        <translation>unmapped</translation>
    </message>
    <message id="UnplugDevicePrompt">
        <source>The controller is not responding. Please unplug it and plug it in again.</source>
        <extracomment>Toast (4 s) when the controller does not answer the version query within 8 seconds.</extracomment>
        <translation>The controller is not responding. Please unplug it and plug it in again.</translation>
    </message>
    <message id="UnzipFailed">
        <source>Unzipping failed. The firmware package is damaged or could not be unpacked.</source>
        <extracomment>Toast (3 s) when a firmware package opened into the application cannot be unpacked (damaged or not really a zip archive, too large, unsupported); the release folder is left as it was. A disk that cannot be written has ImportCopyFailed.</extracomment>
        <translation>Unzipping failed. The firmware package is damaged or could not be unpacked.</translation>
    </message>
    <message id="UpgradeAlreadyRunning">
        <source>Another upgrade is still running. Wait until it has ended.</source>
        <extracomment>Upgrade run / command-line: an upgrade was started while another one is still running.</extracomment>
        <translation>Another upgrade is still running. Wait until it has ended.</translation>
    </message>
    <message id="UpgradeCancelled">
        <source>The upgrade was cancelled.</source>
        <extracomment>Upgrade run / command-line: the reason recorded when an upgrade was cancelled (by the user, another release choice or an unplug during the download).</extracomment>
        <translation>The upgrade was cancelled.</translation>
    </message>
    <message id="UpgradeCancelledTitle">
        <source>Upgrade cancelled</source>
        <extracomment>Upgrade screen: status line after a run was cancelled; the reason is shown beneath.</extracomment>
        <translation>Upgrade cancelled</translation>
    </message>
    <message id="UpgradeCompleted">
        <source>Upgrade completed</source>
        <extracomment>Upgrade screen status line when the progress reaches 100 %.</extracomment>
        <translation>Upgrade completed</translation>
    </message>
    <message id="UpgradeFailedNeedNewFirmware">
        <source>Upgrade failed: this firmware package is incomplete. Please import a new one.</source>
        <extracomment>Toast (3 s) when a local release folder lacks one of the three image files.</extracomment>
        <translation>Upgrade failed: this firmware package is incomplete. Please import a new one.</translation>
    </message>
    <message id="UpgradeFailedTitle">
        <source>Upgrade failed</source>
        <extracomment>Upgrade screen: status line after a run failed; the reason is shown beneath.</extracomment>
        <translation>Upgrade failed</translation>
    </message>
    <message id="UpgradeHistory">
        <source>Upgrade history</source>
        <extracomment>Upgrade screen: the button that opens the list of recorded upgrade runs, and that list's title.</extracomment>
        <translation>Upgrade history</translation>
    </message>
    <message id="UpgradeInfo">
        <source>What's new</source>
        <extracomment>Upgrade screen: caption of the newest release's notes (followed by the ':' text).</extracomment>
        <translation>What's new</translation>
    </message>
    <message id="UpgradeNow">
        <source>Upgrade Now</source>
        <extracomment>Upgrade screen: title of the button that starts the upgrade.</extracomment>
        <translation>Upgrade Now</translation>
    </message>
    <message id="UpgradeSucceeded">
        <source>Upgrade completed. The controller now reports version %1.</source>
        <extracomment>Command-line: the upgrade run finished. %1 = the controller's version text now (boot-left-right).</extracomment>
        <translation>Upgrade completed. The controller now reports version %1.</translation>
    </message>
    <message id="UpgradeWarning">
        <source>Upgrading. Do not disconnect the controller or close the app.</source>
        <extracomment>Upgrade screen: warning line shown while an upgrade is running.</extracomment>
        <translation>Upgrading. Do not disconnect the controller or close the app.</translation>
    </message>
    <message id="Upgrading...">
        <source>Upgrading... </source>
        <extracomment>Upgrade screen status line during an upgrade; the code appends the percentage (e.g. 37.50%). Keep the trailing space.</extracomment>
        <translation>Upgrading... </translation>
    </message>
    <message id="VerdictChatter">
        <source>chatters</source>
        <extracomment>Controller check verdict: a button that bounces.</extracomment>
        <translation>chatters</translation>
    </message>
    <message id="VerdictGood">
        <source>good</source>
        <extracomment>Controller check verdict.</extracomment>
        <translation>good</translation>
    </message>
    <message id="VerdictHigh">
        <source>higher than typical</source>
        <extracomment>Controller check verdict: circularity error above what is typical, not yet worn.</extracomment>
        <translation>higher than typical</translation>
    </message>
    <message id="VerdictShort">
        <source>short</source>
        <extracomment>Controller check verdict: the range or travel falls short.</extracomment>
        <translation>short</translation>
    </message>
    <message id="VerdictStuck">
        <source>stuck</source>
        <extracomment>Controller check verdict: a button held through the whole check.</extracomment>
        <translation>stuck</translation>
    </message>
    <message id="VerdictTypical">
        <source>typical</source>
        <extracomment>Controller check verdict: as most pads in use.</extracomment>
        <translation>typical</translation>
    </message>
    <message id="VerdictUnknown">
        <source>not measured</source>
        <extracomment>Controller check verdict: not enough was measured.</extracomment>
        <translation>not measured</translation>
    </message>
    <message id="VerdictWorn">
        <source>worn</source>
        <extracomment>Controller check verdict.</extracomment>
        <translation>worn</translation>
    </message>
    <message id="VersionsMismatch">
        <source>After the upgrade the controller reports version %1, but the release is %2.</source>
        <extracomment>Command-line: versions differ after the upgrade. %1 = version the controller reports; %2 = version of the release that was installed.</extracomment>
        <translation>After the upgrade the controller reports version %1, but the release is %2.</translation>
    </message>
    <message id="VersionsNotRead">
        <source>The controller did not report its versions after the upgrade. Please reconnect it and check its version.</source>
        <extracomment>Upgrade run / command-line: after the images were sent the controller did not answer the version query.</extracomment>
        <translation>The controller did not report its versions after the upgrade. Please reconnect it and check its version.</translation>
    </message>
    <message id="VirtualControllerName">
        <source>Virtual controller</source>
        <extracomment>Game controllers: the name of the virtual controller used by the simulator, the demo and tests.</extracomment>
        <translation>Virtual controller</translation>
    </message>
    <message id="WebPageUnavailable">
        <source>This page cannot be shown: the web page component of the app is missing or damaged. Reinstalling the app should restore it.</source>
        <extracomment>Shown in place of the page on the game list and tutorial screens when the component that shows web pages is missing or cannot be loaded.</extracomment>
        <translation>This page cannot be shown: the web page component of the app is missing or damaged. Reinstalling the app should restore it.</translation>
    </message>
    <message id="RestartWaitStopped">
        <source>Stopped waiting for the controller to restart. It keeps the images it has received; reconnect it and check its versions.</source>
        <extracomment>Upgrade screen and tools: the user stopped waiting for the controller's restart.</extracomment>
        <translation>Stopped waiting for the controller to restart. It keeps the images it has received; reconnect it and check its versions.</translation>
    </message>
    <message id="UpgradeCancelledAfterImage">
        <source>Upgrade cancelled once the image being written had ended.</source>
        <extracomment>Upgrade screen and tools: a cancel asked for during an image took effect at the image's end.</extracomment>
        <translation>Upgrade cancelled once the image being written had ended.</translation>
    </message>
    <message id="StepImageBootLoader">
        <source>Boot loader</source>
        <extracomment>Upgrade screen: the boot loader image in the plan and the step list.</extracomment>
        <translation>Boot loader</translation>
    </message>
    <message id="StepImageLeft">
        <source>Left side</source>
        <extracomment>Upgrade screen: the left side's image in the plan and the step list.</extracomment>
        <translation>Left side</translation>
    </message>
    <message id="StepImageRight">
        <source>Right side</source>
        <extracomment>Upgrade screen: the right side's image in the plan and the step list.</extracomment>
        <translation>Right side</translation>
    </message>
    <message id="SizeAfterDownload">
        <source>size known after the download</source>
        <extracomment>Upgrade screen: an image's size before the release is downloaded.</extracomment>
        <translation>size known after the download</translation>
    </message>
    <message id="DurationSeconds">
        <source>%1 s</source>
        <extracomment>A duration; %1 = whole seconds.</extracomment>
        <translation>%1 s</translation>
    </message>
    <message id="DurationMinutes">
        <source>%1 min %2 s</source>
        <extracomment>A duration; %1 = minutes, %2 = seconds.</extracomment>
        <translation>%1 min %2 s</translation>
    </message>
    <message id="StopWaiting">
        <source>Stop waiting</source>
        <extracomment>Upgrade screen: the cancel button while the controller restarts.</extracomment>
        <translation>Stop waiting</translation>
    </message>
    <message id="CancelPending">
        <source>Stopping…</source>
        <extracomment>Upgrade screen: the cancel button after a cancel was asked for during an image.</extracomment>
        <translation>Stopping…</translation>
    </message>
    <message id="CancelUnavailableWhy">
        <source>An image is being written: stopping now would leave that side unable to start. Cancel is offered again when the image has ended.</source>
        <extracomment>Upgrade screen: tooltip and accessible description of the disabled cancel button.</extracomment>
        <translation>An image is being written: stopping now would leave that side unable to start. Cancel is offered again when the image has ended.</translation>
    </message>
    <message id="CancelPendingWhy">
        <source>The upgrade stops when the image being written has ended.</source>
        <extracomment>Upgrade screen: tooltip of the cancel button after a cancel was asked for.</extracomment>
        <translation>The upgrade stops when the image being written has ended.</translation>
    </message>
    <message id="PlanSends">
        <source>Will send</source>
        <extracomment>Upgrade screen: caption above the images a run will send.</extracomment>
        <translation>Will send</translation>
    </message>
    <message id="PlanImage">
        <source>%1 (%2)</source>
        <extracomment>Upgrade screen: one image; %1 = its name, %2 = its size.</extracomment>
        <translation>%1 (%2)</translation>
    </message>
    <message id="PlanSkipped">
        <source>Not sent, already up to date: %1</source>
        <extracomment>Upgrade screen: the images the controller already has; %1 = their names.</extracomment>
        <translation>Not sent, already up to date: %1</translation>
    </message>
    <message id="ListSeparator">
        <source>, </source>
        <extracomment>Separator between the items of a short list.</extracomment>
        <translation>, </translation>
    </message>
    <message id="PlanDuration">
        <source>Estimated duration: about %1</source>
        <extracomment>Upgrade screen: %1 = a duration.</extracomment>
        <translation>Estimated duration: about %1</translation>
    </message>
    <message id="PlanDurationAtLeast">
        <source>Estimated duration: at least %1</source>
        <extracomment>Upgrade screen: the estimate before the release's image sizes are known, which the images' sending will add to; %1 = a duration.</extracomment>
        <translation>Estimated duration: at least %1</translation>
    </message>
    <message id="PlanSignature">
        <source>Signature: %1</source>
        <extracomment>Upgrade screen: %1 = signed, unsigned, local file…</extracomment>
        <translation>Signature: %1</translation>
    </message>
    <message id="NoReleaseNotes">
        <source>This release has no notes.</source>
        <extracomment>Upgrade screen: the picked release comes without release notes.</extracomment>
        <translation>This release has no notes.</translation>
    </message>
    <message id="StepReadBack">
        <source>Reading the versions back</source>
        <extracomment>Upgrade screen step list.</extracomment>
        <translation>Reading the versions back</translation>
    </message>
    <message id="StepsTimeLeft">
        <source>Time left: about %1</source>
        <extracomment>Upgrade screen: the whole run's time left; %1 = a duration.</extracomment>
        <translation>Time left: about %1</translation>
    </message>
    <message id="CliInterruptWaitsForImage">
        <source>Interrupted: the image being written goes on to its end (or its silence limit), then the upgrade stops.</source>
        <extracomment>Command line: Ctrl-C during an image.</extracomment>
        <translation>Interrupted: the image being written goes on to its end (or its silence limit), then the upgrade stops.</translation>
    </message>
    <message id="CliStationHelp">
        <source>run the same flash or upgrade job on every controller named with --device, all at once, each with its own run, limits, restarts and history record; succeeds only when every controller completed</source>
        <extracomment>Command-line help: the station command.</extracomment>
        <translation>run the same flash or upgrade job on every controller named with --device, all at once, each with its own run, limits, restarts and history record; succeeds only when every controller completed</translation>
    </message>
    <message id="CliStationDevice">
        <source>a controller of the station (tcp:HOST:PORT, serial:PATH or sim); repeat for each</source>
        <extracomment>Command-line help: the station command's --device option.</extracomment>
        <translation>a controller of the station (tcp:HOST:PORT, serial:PATH or sim); repeat for each</translation>
    </message>
    <message id="CliStationNeedsDevice">
        <source>station needs at least one --device</source>
        <extracomment>Command-line usage error: station was given no --device.</extracomment>
        <translation>station needs at least one --device</translation>
    </message>
    <message id="CliStationDeviceTwice">
        <source>%1 is named twice: each controller is named once</source>
        <extracomment>Command-line usage error: the same device was named twice for station. %1 = the device.</extracomment>
        <translation>%1 is named twice: each controller is named once</translation>
    </message>
    <message id="CliStationNeedsAddress">
        <source>%1 does not name one controller: give tcp:HOST:PORT, serial:PATH or sim</source>
        <extracomment>Command-line usage error: station was given a device without an address (auto). %1 = the device text.</extracomment>
        <translation>%1 does not name one controller: give tcp:HOST:PORT, serial:PATH or sim</translation>
    </message>
    <message id="CliStationNeedsJob">
        <source>station needs a job after its devices: flash … or upgrade …</source>
        <extracomment>Command-line usage error: station was given no job, or an unknown one.</extracomment>
        <translation>station needs a job after its devices: flash … or upgrade …</translation>
    </message>
    <message id="CliStationControllerFailed">
        <source>%1: %2</source>
        <extracomment>Command line, station: one controller's failure. %1 = the device (e.g. tcp:127.0.0.1:6000); %2 = the reason.</extracomment>
        <translation>%1: %2</translation>
    </message>
    <message id="CliStationSummary">
        <source>%1 of %2 controllers completed.</source>
        <extracomment>Command line, station: how many controllers completed. %1 = completed; %2 = all.</extracomment>
        <translation>%1 of %2 controllers completed.</translation>
    </message>
    <message id="CliImportSummary">
        <source>%1 of %2 archives imported.</source>
        <extracomment>Command line, import of several archives, on standard error after the failures: how many were imported. %1 = imported; %2 = all.</extracomment>
        <translation>%1 of %2 archives imported.</translation>
    </message>
    <message id="StationConnecting">
        <source>connecting…</source>
        <extracomment>Command line, station status line: the controller is not attached yet.</extracomment>
        <translation>connecting…</translation>
    </message>
    <message id="StationWaitingForDownload">
        <source>waiting for the release's download…</source>
        <extracomment>Command line, station status line: the run waits for another controller's download of the same release.</extracomment>
        <translation>waiting for the release's download…</translation>
    </message>
    <message id="StationRunning">
        <source>%1 %2%</source>
        <extracomment>Command line, station status line during a run. %1 = what the run does (a phase text); %2 = percent done.</extracomment>
        <translation>%1 %2%</translation>
    </message>
    <message id="StationCompleted">
        <source>completed, versions %1</source>
        <extracomment>Command line, station status line: the run completed. %1 = the versions read afterwards (B-L-R).</extracomment>
        <translation>completed, versions %1</translation>
    </message>
    <message id="StationFailed">
        <source>failed: %1</source>
        <extracomment>Command line, station status line: the run failed. %1 = the reason.</extracomment>
        <translation>failed: %1</translation>
    </message>
    <message id="HelpArguments">
        <source>Arguments:</source>
        <extracomment>Help of q3dart: the heading of the arguments.</extracomment>
        <translation>Arguments:</translation>
    </message>
    <message id="AppHelpDescription">
        <source>Q3 Dart companion: firmware versions, upgrades and key test.</source>
        <extracomment>Help of q3dart: what the program is, under the usage line.</extracomment>
        <translation>Q3 Dart companion: firmware versions, upgrades and key test.</translation>
    </message>
    <message id="AppOptionSimulate">
        <source>Run against the simulated controller and the demo releases, with a throw-away documents directory.</source>
        <extracomment>Help of q3dart: the --simulate option.</extracomment>
        <translation>Run against the simulated controller and the demo releases, with a throw-away documents directory.</translation>
    </message>
    <message id="AppOptionScreenshots">
        <source>Render every screen to PNG files in DIR and exit.</source>
        <extracomment>Help of q3dart: the --screenshots option; DIR = a folder.</extracomment>
        <translation>Render every screen to PNG files in DIR and exit.</translation>
    </message>
    <message id="AppOptionSize">
        <source>The window's size, such as 720x405 (at least that) or 1920x1080.</source>
        <extracomment>Help of q3dart: the --size option.</extracomment>
        <translation>The window's size, such as 720x405 (at least that) or 1920x1080.</translation>
    </message>
    <message id="AppOptionDevice">
        <source>The controller: sim, tcp:HOST:PORT or serial:PATH (default: the first USB serial controller).</source>
        <extracomment>Help of q3dart: the --device option; sim, tcp:HOST:PORT and serial:PATH are typed as they are.</extracomment>
        <translation>The controller: sim, tcp:HOST:PORT or serial:PATH (default: the first USB serial controller).</translation>
    </message>
    <message id="AppOptionDocuments">
        <source>The documents directory.</source>
        <extracomment>Help of q3dart: the --documents option.</extracomment>
        <translation>The documents directory.</translation>
    </message>
    <message id="AppOptionServer">
        <source>The firmware server's base address.</source>
        <extracomment>Help of q3dart: the --server option.</extracomment>
        <translation>The firmware server's base address.</translation>
    </message>
    <message id="AppOptionLanguage">
        <source>The language: a tag such as en, zh-Hans or ja-JP.</source>
        <extracomment>Help of q3dart: the --language option; the tags are typed as they are.</extracomment>
        <translation>The language: a tag such as en, zh-Hans or ja-JP.</translation>
    </message>
    <message id="AppOptionMeasureStartup">
        <source>Print the time to the first shown screen and the resident memory, then exit (for benchmarks).</source>
        <extracomment>Help of q3dart: the --measure-startup option.</extracomment>
        <translation>Print the time to the first shown screen and the resident memory, then exit (for benchmarks).</translation>
    </message>
    <message id="AppOptionMeasureUpgrade">
        <source>With --simulate: upgrade the controller to the newest online release through the screens, print the time from the press of "Upgrade Now" to the verified outcome beside the protocol's floor, then exit (for benchmarks).</source>
        <extracomment>Help of q3dart: the --measure-upgrade option; "Upgrade Now" is the button's text (UpgradeNow).</extracomment>
        <translation>With --simulate: upgrade the controller to the newest online release through the screens, print the time from the press of "Upgrade Now" to the verified outcome beside the protocol's floor, then exit (for benchmarks).</translation>
    </message>
    <message id="AppOptionTrustKey">
        <source>Trust this release key (base64 of a raw 32-byte Ed25519 public key); repeatable. With a trusted key an online release is installed only when its signature verifies.</source>
        <extracomment>Help of q3dart: the --trust-key option.</extracomment>
        <translation>Trust this release key (base64 of a raw 32-byte Ed25519 public key); repeatable. With a trusted key an online release is installed only when its signature verifies.</translation>
    </message>
    <message id="AppOptionTrustRoot">
        <source>Trust this root key (base64 of a raw 32-byte Ed25519 public key, as keygen prints it); repeatable. The root certifies the release keys through the key set published beside the release list.</source>
        <extracomment>Help of q3dart: the --trust-root option; keygen is a command of q3dart-cli.</extracomment>
        <translation>Trust this root key (base64 of a raw 32-byte Ed25519 public key, as keygen prints it); repeatable. The root certifies the release keys through the key set published beside the release list.</translation>
    </message>
    <message id="AppOptionCaFile">
        <source>Also trust the PEM certificate authorities of FILE for https.</source>
        <extracomment>Help of q3dart: the --ca-file option.</extracomment>
        <translation>Also trust the PEM certificate authorities of FILE for https.</translation>
    </message>
    <message id="AppArgumentArchives">
        <source>Release archives (.zip) to import.</source>
        <extracomment>Help of q3dart: the archives that may follow the options.</extracomment>
        <translation>Release archives (.zip) to import.</translation>
    </message>
    <message id="SimHelpDescription">
        <source>Serves simulated Q3 Dart controllers over TCP, one per listening address; the connection carries the controller's protocol bytes. Connect with: q3dart-cli --device tcp:HOST:PORT ...</source>
        <extracomment>Help of q3dart-sim: what the program is, under the usage line; the command is typed as it is.</extracomment>
        <translation>Serves simulated Q3 Dart controllers over TCP, one per listening address; the connection carries the controller's protocol bytes. Connect with: q3dart-cli --device tcp:HOST:PORT ...</translation>
    </message>
    <message id="SimOptionListen">
        <source>Address to listen on (port 0 picks a free port); repeated, one controller each.</source>
        <extracomment>Help of q3dart-sim: the --listen option.</extracomment>
        <translation>Address to listen on (port 0 picks a free port); repeated, one controller each.</translation>
    </message>
    <message id="SimOptionCount">
        <source>Serve N independent controllers on consecutive ports from the one --listen.</source>
        <extracomment>Help of q3dart-sim: the --count option.</extracomment>
        <translation>Serve N independent controllers on consecutive ports from the one --listen.</translation>
    </message>
    <message id="SimOptionFault">
        <source>Give one controller a fault: INDEX (0 is the first) and refuse-checksum, refuse-end or silent-end, e.g. 2:refuse-checksum; repeatable.</source>
        <extracomment>Help of q3dart-sim: the --fault option; the fault names are typed as they are.</extracomment>
        <translation>Give one controller a fault: INDEX (0 is the first) and refuse-checksum, refuse-end or silent-end, e.g. 2:refuse-checksum; repeatable.</translation>
    </message>
    <message id="SimOptionVersions">
        <source>Boot loader, left and right versions (default 1.0-2.3-1.5).</source>
        <extracomment>Help of q3dart-sim: the --versions option.</extracomment>
        <translation>Boot loader, left and right versions (default 1.0-2.3-1.5).</translation>
    </message>
    <message id="SimOptionRestartDelay">
        <source>How long a restart takes (default 1000; -1 never comes back).</source>
        <extracomment>Help of q3dart-sim: the --restart-delay option.</extracomment>
        <translation>How long a restart takes (default 1000; -1 never comes back).</translation>
    </message>
    <message id="SimOptionReplyDelay">
        <source>Delay before every reply (default 0).</source>
        <extracomment>Help of q3dart-sim: the --reply-delay option.</extracomment>
        <translation>Delay before every reply (default 0).</translation>
    </message>
    <message id="SimOptionRefuseChecksum">
        <source>Refuse the right side's checksum command.</source>
        <extracomment>Help of q3dart-sim: the --refuse-checksum option.</extracomment>
        <translation>Refuse the right side's checksum command.</translation>
    </message>
    <message id="SimOptionRefuseEnd">
        <source>Refuse the end commands.</source>
        <extracomment>Help of q3dart-sim: the --refuse-end option.</extracomment>
        <translation>Refuse the end commands.</translation>
    </message>
    <message id="SimOptionSilentEnd">
        <source>Never answer the end commands.</source>
        <extracomment>Help of q3dart-sim: the --silent-end option.</extracomment>
        <translation>Never answer the end commands.</translation>
    </message>
    <message id="SimOptionImpostor">
        <source>After a controller's first restart, another controller (Bluetooth address AABBCCDDEEFF, these versions) answers instead and the first never comes back; every message it receives is printed as "impostor received: HEX". B-L-R: every controller; INDEX:B-L-R: controller INDEX only (0 is the first), repeatable.</source>
        <extracomment>Help of q3dart-sim: the --impostor option; "impostor received: HEX" is printed as it is.</extracomment>
        <translation>After a controller's first restart, another controller (Bluetooth address AABBCCDDEEFF, these versions) answers instead and the first never comes back; every message it receives is printed as "impostor received: HEX". B-L-R: every controller; INDEX:B-L-R: controller INDEX only (0 is the first), repeatable.</translation>
    </message>
    <message id="SimOptionFlashDir">
        <source>Write the flash contents (boot.bin, left.bin, right.bin) there whenever an image has been written; with several controllers, into DIR/INDEX.</source>
        <extracomment>Help of q3dart-sim: the --flash-dir option; the file names are typed as they are.</extracomment>
        <translation>Write the flash contents (boot.bin, left.bin, right.bin) there whenever an image has been written; with several controllers, into DIR/INDEX.</translation>
    </message>
    <message id="SimUsageRestartDelay">
        <source>--restart-delay needs a number of milliseconds, or -1</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--restart-delay needs a number of milliseconds, or -1</translation>
    </message>
    <message id="SimUsageReplyDelay">
        <source>--reply-delay needs a number of milliseconds</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--reply-delay needs a number of milliseconds</translation>
    </message>
    <message id="SimUsageListen">
        <source>--listen needs HOST:PORT with a numeric host address</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--listen needs HOST:PORT with a numeric host address</translation>
    </message>
    <message id="SimUsageCount">
        <source>--count needs a number of controllers from 1 to %1</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are. %1 = the largest number of controllers.</extracomment>
        <translation>--count needs a number of controllers from 1 to %1</translation>
    </message>
    <message id="SimUsageCountListen">
        <source>--count needs exactly one --listen, the first of the consecutive ports</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--count needs exactly one --listen, the first of the consecutive ports</translation>
    </message>
    <message id="SimUsageCountPorts">
        <source>--count runs past port 65535</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--count runs past port 65535</translation>
    </message>
    <message id="SimUsageTooManyListen">
        <source>--listen may be given for at most %1 controllers</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are. %1 = the largest number of controllers.</extracomment>
        <translation>--listen may be given for at most %1 controllers</translation>
    </message>
    <message id="SimUsageFault">
        <source>--fault needs INDEX:FAULT, INDEX a controller (0 is the first) and FAULT one of %1</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are. %1 = the fault names, separated by commas.</extracomment>
        <translation>--fault needs INDEX:FAULT, INDEX a controller (0 is the first) and FAULT one of %1</translation>
    </message>
    <message id="SimUsageImpostor">
        <source>--impostor needs B-L-R, or INDEX:B-L-R for one controller (0 is the first), for example 1.0-2.2-2.3 or 2:1.0-2.2-2.3</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--impostor needs B-L-R, or INDEX:B-L-R for one controller (0 is the first), for example 1.0-2.2-2.3 or 2:1.0-2.2-2.3</translation>
    </message>
    <message id="SimUsageImpostorTwice">
        <source>--impostor names the same controllers twice</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--impostor names the same controllers twice</translation>
    </message>
    <message id="SimUsageVersions">
        <source>--versions needs B-L-R, for example 1.0-2.3-1.5</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are.</extracomment>
        <translation>--versions needs B-L-R, for example 1.0-2.3-1.5</translation>
    </message>
    <message id="SimUsageFlashDir">
        <source>--flash-dir %1 cannot be created</source>
        <extracomment>Usage error of q3dart-sim; option names, B-L-R, INDEX, FAULT and the fault names are typed as they are. %1 = the folder.</extracomment>
        <translation>--flash-dir %1 cannot be created</translation>
    </message>
    <message id="SimCannotListen">
        <source>Cannot listen on %1: %2</source>
        <extracomment>q3dart-sim and q3dart-cli serve: a listener could not be opened. %1 = HOST:PORT, %2 = the system's reason.</extracomment>
        <translation>Cannot listen on %1: %2</translation>
    </message>
    <message id="FolderNotWritable">
        <source>the folder %1 is read-only</source>
        <extracomment>Why a file could not be saved: the folder (%1) cannot be written.</extracomment>
        <translation>the folder %1 is read-only</translation>
    </message>
    <message id="WriteFailedInFolder">
        <source>%1 (in the folder %2)</source>
        <extracomment>Why a file could not be saved: the system's reason (%1, e.g. No space left on device) and the folder (%2).</extracomment>
        <translation>%1 (in the folder %2)</translation>
    </message>
    <message id="CheckReportNotSavedBecause">
        <source>The check's report could not be saved: %1.</source>
        <extracomment>Controller check: the report file could not be written. %1 = why, with the folder.</extracomment>
        <translation>The check's report could not be saved: %1.</translation>
    </message>
    <message id="TrustRecordUnreadable">
        <source>it cannot be read (%1)</source>
        <extracomment>Why the record of accepted release lists cannot be used. %1 = the system's reason.</extracomment>
        <translation>it cannot be read (%1)</translation>
    </message>
    <message id="TrustRecordNotJson">
        <source>it is not a JSON object</source>
        <extracomment>Why the record of accepted release lists cannot be used.</extracomment>
        <translation>it is not a JSON object</translation>
    </message>
    <message id="TrustRecordFieldInvalid">
        <source>its field %1 is not %2</source>
        <extracomment>Why the record of accepted release lists cannot be used. %1 = the field (server › field), %2 = what it must be.</extracomment>
        <translation>its field %1 is not %2</translation>
    </message>
    <message id="TrustRecordExpectsObject">
        <source>an object</source>
        <extracomment>What a field of the record of accepted release lists must be.</extracomment>
        <translation>an object</translation>
    </message>
    <message id="TrustRecordExpectsVersion">
        <source>a whole number from 0 to 2^53</source>
        <extracomment>What a field of the record of accepted release lists must be.</extracomment>
        <translation>a whole number from 0 to 2^53</translation>
    </message>
    <message id="TrustRecordExpectsKeys">
        <source>a list of base64 public keys</source>
        <extracomment>What a field of the record of accepted release lists must be.</extracomment>
        <translation>a list of base64 public keys</translation>
    </message>
    <message id="TrustRecordExpectsText">
        <source>a text</source>
        <extracomment>What a field of the record of accepted release lists must be.</extracomment>
        <translation>a text</translation>
    </message>
    <message id="ReleaseTrustStateNotSaved">
        <source>The release list verified, but the record of accepted lists (%1) could not be saved: %2. The list was refused, so that an older one cannot be offered later.</source>
        <extracomment>Command line and upgrade screens: a verified release list could not be recorded; %1 = the record's path, %2 = why (e.g. No space left on device (in the folder …)).</extracomment>
        <translation>The release list verified, but the record of accepted lists (%1) could not be saved: %2. The list was refused, so that an older one cannot be offered later.</translation>
    </message>
    <message id="MetadataNotJson">
        <source>it is not a JSON object</source>
        <extracomment>Why signed release metadata is malformed.</extracomment>
        <translation>it is not a JSON object</translation>
    </message>
    <message id="MetadataBadVersion">
        <source>%1 is not a whole number from 1 to 2^53</source>
        <extracomment>Why signed release metadata is malformed; %1 = the field.</extracomment>
        <translation>%1 is not a whole number from 1 to 2^53</translation>
    </message>
    <message id="MetadataBadExpiry">
        <source>%1 is not a UTC time such as 2027-01-08T09:01:24Z</source>
        <extracomment>Why signed release metadata is malformed; %1 = the field.</extracomment>
        <translation>%1 is not a UTC time such as 2027-01-08T09:01:24Z</translation>
    </message>
    <message id="MetadataBadKeys">
        <source>%1 holds an entry that is not a public key with its key id</source>
        <extracomment>Why signed release metadata is malformed; %1 = the field.</extracomment>
        <translation>%1 holds an entry that is not a public key with its key id</translation>
    </message>
    <message id="ReleaseListMalformed">
        <source>The release list is signed by a trusted key, but malformed: %1. It was refused; please tell the server's operator.</source>
        <extracomment>Command line and upgrade screens: the release list is signed by a trusted key but cannot be read; %1 = what is wrong.</extracomment>
        <translation>The release list is signed by a trusted key, but malformed: %1. It was refused; please tell the server's operator.</translation>
    </message>
    <message id="ReleaseKeySetMalformed">
        <source>The release key set is signed by a trusted root key, but malformed: %1. The release list was refused; please tell the server's operator.</source>
        <extracomment>Command line and upgrade screens: the key set is signed by a trusted root but cannot be read; %1 = what is wrong.</extracomment>
        <translation>The release key set is signed by a trusted root key, but malformed: %1. The release list was refused; please tell the server's operator.</translation>
    </message>
    <message id="ReleaseRootInvalid">
        <source>The server's root document %1 is not signed both by the root key trusted now and by its own key, so the release list was refused.</source>
        <extracomment>Command line and upgrade screens: the server offers a next root document that does not verify; %1 = its version.</extracomment>
        <translation>The server's root document %1 is not signed both by the root key trusted now and by its own key, so the release list was refused.</translation>
    </message>
    <message id="ReleaseListDeadline">
        <source>The release list did not arrive within %1 s. Check your network connection, or try again later.</source>
        <extracomment>Command line and upgrade screens: the release list (or its signed metadata) did not arrive in time; %1 = seconds.</extracomment>
        <translation>The release list did not arrive within %1 s. Check your network connection, or try again later.</translation>
    </message>
    <message id="DownloadTooSlow">
        <source>The download stayed slower than %1 KiB/s for %2 s and was stopped. Nothing was sent to the controller. Check your network connection and try again.</source>
        <extracomment>Upgrade failure: the download stayed below the rate floor; %1 = KiB per second, %2 = seconds.</extracomment>
        <translation>The download stayed slower than %1 KiB/s for %2 s and was stopped. Nothing was sent to the controller. Check your network connection and try again.</translation>
    </message>
    <message id="DownloadNotSignedArchive">
        <source>The downloaded archive is not the one the signed release list names (its SHA-256 differs): it may have been replaced on the way. It was deleted and nothing was sent to the controller.</source>
        <extracomment>Upgrade failure: the downloaded archive's SHA-256 is not the one the signed release list names.</extracomment>
        <translation>The downloaded archive is not the one the signed release list names (its SHA-256 differs): it may have been replaced on the way. It was deleted and nothing was sent to the controller.</translation>
    </message>
    <message id="ImageUnsendable">
        <source>The image %1 cannot be sent: %2. Nothing was sent to the controller.</source>
        <extracomment>Upgrade failure found before anything was sent: %1 = the image (its file name), %2 = why.</extracomment>
        <translation>The image %1 cannot be sent: %2. Nothing was sent to the controller.</translation>
    </message>
    <message id="ImageEmpty">
        <source>it is empty</source>
        <extracomment>Why an image cannot be sent.</extracomment>
        <translation>it is empty</translation>
    </message>
    <message id="ImageUnreadable">
        <source>it cannot be read</source>
        <extracomment>Why an image cannot be sent.</extracomment>
        <translation>it cannot be read</translation>
    </message>
    <message id="ImageTooLarge">
        <source>it is larger than the %1 bytes the controller takes</source>
        <extracomment>Why an image cannot be sent: %1 = the most bytes the controller takes.</extracomment>
        <translation>it is larger than the %1 bytes the controller takes</translation>
    </message>
    <message id="DownloadRecordNotSaved">
        <source>The record of downloads could not be saved: %1. The release will be downloaded again next time.</source>
        <extracomment>The record of downloads (downloads.plist) could not be saved; the run goes on. %1 = why.</extracomment>
        <translation>The record of downloads could not be saved: %1. The release will be downloaded again next time.</translation>
    </message>
    <message id="HistoryNotSaved">
        <source>The upgrade history (%1) could not be saved: %2. Its earlier records are unchanged.</source>
        <extracomment>The run's record could not be added to the upgrade history; the run's own outcome is unchanged. %1 = the history file, %2 = why (e.g. No space left on device (in the folder …)).</extracomment>
        <translation>The upgrade history (%1) could not be saved: %2. Its earlier records are unchanged.</translation>
    </message>
    <message id="NoInstallableRelease">
        <source>The firmware server offers no release that may be installed: none is signed by a trusted key.</source>
        <extracomment>Command line: --latest found releases, but none may be installed (none is signed by a trusted key).</extracomment>
        <translation>The firmware server offers no release that may be installed: none is signed by a trusted key.</translation>
    </message>
    <message id="CliOptionListDeadline">
        <source>Give up on the release list (and its signed metadata) when a request takes longer than SECONDS (default 60).</source>
        <extracomment>q3dart-cli option --list-deadline SECONDS.</extracomment>
        <translation>Give up on the release list (and its signed metadata) when a request takes longer than SECONDS (default 60).</translation>
    </message>
    <message id="CliOptionStallLimit">
        <source>Stop a release download that stays slower than 1 KiB/s for SECONDS (default 30).</source>
        <extracomment>q3dart-cli option --stall-limit SECONDS.</extracomment>
        <translation>Stop a release download that stays slower than 1 KiB/s for SECONDS (default 30).</translation>
    </message>
    <message id="CliSignRootHelp">
        <source>Write the site's next root document: one version above its current root, naming the new root key, signed by the current root key and by the new one. Clients that pin the first root follow the chain; sign key sets with the new root from then on.</source>
        <extracomment>q3dart-cli sign-root: what the command does.</extracomment>
        <translation>Write the site's next root document: one version above its current root, naming the new root key, signed by the current root key and by the new one. Clients that pin the first root follow the chain; sign key sets with the new root from then on.</translation>
    </message>
    <message id="CliSignRootCurrent">
        <source>The current root's private key (PEM): the pinned root, or the last one the site handed over to.</source>
        <extracomment>q3dart-cli sign-root option --root-key FILE.</extracomment>
        <translation>The current root's private key (PEM): the pinned root, or the last one the site handed over to.</translation>
    </message>
    <message id="CliSignRootNext">
        <source>The private key (PEM) of the root that takes over.</source>
        <extracomment>q3dart-cli sign-root option --new-root-key FILE.</extracomment>
        <translation>The private key (PEM) of the root that takes over.</translation>
    </message>
    <message id="OutcomeNothingInstalled">
        <source>Nothing was installed.</source>
        <extracomment>Said after why an upgrade did not complete, when no image was begun or the controller reports none of them.</extracomment>
        <translation>Nothing was installed.</translation>
    </message>
    <message id="OutcomeInstalled">
        <source>Installed: %1.</source>
        <extracomment>Said after why an upgrade did not complete: the parts the controller now runs of it, with their versions; %1 = e.g. 'Boot loader 2.1, Left side 2.2'.</extracomment>
        <translation>Installed: %1.</translation>
    </message>
    <message id="OutcomeNotInstalled">
        <source>Not installed: %1.</source>
        <extracomment>Said after OutcomeInstalled: the parts of the upgrade the controller does not run; %1 = e.g. 'Right side'.</extracomment>
        <translation>Not installed: %1.</translation>
    </message>
    <message id="OutcomeUnknown">
        <source>The controller could not be read afterwards, so what it now runs is unknown: reconnect it and check its versions.</source>
        <extracomment>Said after why an upgrade did not complete, when an image was begun and the controller could not be asked afterwards.</extracomment>
        <translation>The controller could not be read afterwards, so what it now runs is unknown: reconnect it and check its versions.</translation>
    </message>
    <message id="OutcomeWrittenUnknown">
        <source>The controller confirmed %1, but could not be read afterwards, so what it now runs is unknown: reconnect it and check its versions.</source>
        <extracomment>Said after why an upgrade did not complete, when the controller confirmed some images but could not be asked afterwards; %1 = e.g. 'Boot loader, Left side'.</extracomment>
        <translation>The controller confirmed %1, but could not be read afterwards, so what it now runs is unknown: reconnect it and check its versions.</translation>
    </message>
    <message id="CliServeThrottle">
        <source>Send no faster than KIB KiB a second (fractions allowed), to watch a download on a slow link.</source>
        <extracomment>q3dart-cli serve option --throttle KIB.</extracomment>
        <translation>Send no faster than KIB KiB a second (fractions allowed), to watch a download on a slow link.</translation>
    </message>
    <message id="CliOptionNeedsKiB">
        <source>%1 needs a number of KiB a second above 0</source>
        <extracomment>Command line usage error: %1 = the option.</extracomment>
        <translation>%1 needs a number of KiB a second above 0</translation>
    </message>
    <message id="PhaseRestartLonger">
        <source>The controller is taking longer than usual to restart; keep it connected.</source>
        <extracomment>Upgrade screen step line: the controller restarts and has taken clearly longer than usual; the run still waits for it.</extracomment>
        <translation>The controller is taking longer than usual to restart; keep it connected.</translation>
    </message>
    <message id="OtherControllerAttached">
        <source>Another controller is attached (%1), not the one the upgrade was for (%2). Nothing was sent to it; press the button again to install the release on this one.</source>
        <extracomment>Upgrade failure: Try again found another controller than the one the failed run was for; %1 = the one attached, %2 = the one the run was for (Bluetooth addresses).</extracomment>
        <translation>Another controller is attached (%1), not the one the upgrade was for (%2). Nothing was sent to it; press the button again to install the release on this one.</translation>
    </message>
    <message id="OtherControllerConfirm">
        <source>Another controller is attached: %1. The upgrade that did not complete was for %2. Install %3 on %1?</source>
        <extracomment>Upgrade screen question before Try again sends anything to another controller than the failed run's; %1 = the attached one, %2 = the failed run's, %3 = the release.</extracomment>
        <translation>Another controller is attached: %1. The upgrade that did not complete was for %2. Install %3 on %1?</translation>
    </message>
    <message id="InstallOnThisController">
        <source>Install on this controller</source>
        <extracomment>Upgrade screen: the button that confirms installing on another controller.</extracomment>
        <translation>Install on this controller</translation>
    </message>
    <message id="InstallOlderVersion">
        <source>Install older version %1</source>
        <extracomment>Upgrade screen: the button (and its question's confirm) when the picked release is older than the controller's in any part; %1 = the release.</extracomment>
        <translation>Install older version %1</translation>
    </message>
    <message id="PlanOlder">
        <source>An older version than the controller's (%2): %1.</source>
        <extracomment>Upgrade screen plan, first line, when the picked release is older than the controller's in any part; %1 = the release, %2 = the controller's versions.</extracomment>
        <translation>An older version than the controller's (%2): %1.</translation>
    </message>
    <message id="ControllerNotAttached">
        <source>No controller attached</source>
        <extracomment>Upgrade screen, in the controller's place: no controller is attached now.</extracomment>
        <translation>No controller attached</translation>
    </message>
    <message id="StepFetch">
        <source>Download, check and unpack</source>
        <extracomment>Upgrade screen step list: the release is downloaded, its digest checked and it is unpacked.</extracomment>
        <translation>Download, check and unpack</translation>
    </message>
    <message id="StepFetchSize">
        <source>Download, check and unpack (%1)</source>
        <extracomment>Upgrade screen step list: the same with the archive's size; %1 = size.</extracomment>
        <translation>Download, check and unpack (%1)</translation>
    </message>
    <message id="StepImageThenRestart">
        <source>%1, then a restart</source>
        <extracomment>Upgrade screen plan and step list: an image after which the controller restarts; %1 = the image with its size.</extracomment>
        <translation>%1, then a restart</translation>
    </message>
    <message id="PlanSendsSizesLater">
        <source>Will send (sizes known after the download)</source>
        <extracomment>Upgrade screen: caption above the images a run will send, when their sizes are known only after the download.</extracomment>
        <translation>Will send (sizes known after the download)</translation>
    </message>
    <message id="SimOptionSplit">
        <source>Every reply leaves in pieces of N bytes (1 to 64), a few milliseconds apart, as a serial adapter hands them over.</source>
        <extracomment>Help of q3dart-sim: the --split option.</extracomment>
        <translation>Every reply leaves in pieces of N bytes (1 to 64), a few milliseconds apart, as a serial adapter hands them over.</translation>
    </message>
    <message id="SimOptionGlue">
        <source>Every reply waits up to 50 ms for the one after it and leaves glued to it in one piece (with --duplicate: each reply and its copy).</source>
        <extracomment>Help of q3dart-sim: the --glue option.</extracomment>
        <translation>Every reply waits up to 50 ms for the one after it and leaves glued to it in one piece (with --duplicate: each reply and its copy).</translation>
    </message>
    <message id="SimOptionDuplicate">
        <source>Every reply is sent twice.</source>
        <extracomment>Help of q3dart-sim: the --duplicate option.</extracomment>
        <translation>Every reply is sent twice.</translation>
    </message>
    <message id="SimOptionStrayByte">
        <source>A byte of line noise goes out before the first reply of every attachment.</source>
        <extracomment>Help of q3dart-sim: the --stray-byte option.</extracomment>
        <translation>A byte of line noise goes out before the first reply of every attachment.</translation>
    </message>
    <message id="SimUsageSplit">
        <source>--split needs a number of bytes from 1 to 64</source>
        <extracomment>Usage error of q3dart-sim; the option name is typed as it is.</extracomment>
        <translation>--split needs a number of bytes from 1 to 64</translation>
    </message>
    <message id="SerialPortPermissionDenied">
        <source>Cannot open %1: permission denied. Install the udev rule of the q3dart package (/lib/udev/rules.d/70-q3dart.rules gives the logged-in user the controller's port) and plug the controller in again, or add yourself to the group "%2" (sudo usermod -aG %2 $USER) and log in again.</source>
        <extracomment>Shown when a serial port (the controller's) cannot be opened for want of permission. %1: the port's path, %2: the group that owns it. The command lines and file names are typed as they are.</extracomment>
        <translation>Cannot open %1: permission denied. Install the udev rule of the q3dart package (/lib/udev/rules.d/70-q3dart.rules gives the logged-in user the controller's port) and plug the controller in again, or add yourself to the group "%2" (sudo usermod -aG %2 $USER) and log in again.</translation>
    </message>
    <message id="UsbDeviceNotDeclared">
        <source>%1: not a declared controller</source>
        <extracomment>Why a USB serial device was not opened. %1: its vendor and product id, e.g. 2341:0043.</extracomment>
        <translation>%1: not a declared controller</translation>
    </message>
    <message id="NoDeclaredUsbDevice">
        <source>no USB serial device is a declared controller (skipped: %1); add the controller's identity with --usb-id VID:PID or in ~/.config/q3dart/q3dart.conf</source>
        <extracomment>Why no controller was found among the USB serial devices. %1: the devices skipped, each with its reason; --usb-id and the file name are typed as they are.</extracomment>
        <translation>no USB serial device is a declared controller (skipped: %1); add the controller's identity with --usb-id VID:PID or in ~/.config/q3dart/q3dart.conf</translation>
    </message>
    <message id="CliOptionUsbId">
        <source>Also look for the controller among USB serial devices with this vendor and product id (hexadecimal, e.g. 2341:0043) when no device is named; repeatable.</source>
        <extracomment>Help of q3dart-cli: the --usb-id option.</extracomment>
        <translation>Also look for the controller among USB serial devices with this vendor and product id (hexadecimal, e.g. 2341:0043) when no device is named; repeatable.</translation>
    </message>
    <message id="CliOptionNeedsUsbId">
        <source>%1 needs a vendor and product id in hexadecimal, VID:PID (e.g. 2341:0043), not "%2"</source>
        <extracomment>Usage error of q3dart-cli. %1: the option (--usb-id), %2: the value given.</extracomment>
        <translation>%1 needs a vendor and product id in hexadecimal, VID:PID (e.g. 2341:0043), not "%2"</translation>
    </message>
    <message id="ConfigurationUsbIdInvalid">
        <source>%1: "%2" is not a USB identity (VID:PID in hexadecimal); it is left out</source>
        <extracomment>Warning on standard error. %1: the configuration file, %2: the entry that is no USB identity.</extracomment>
        <translation>%1: "%2" is not a USB identity (VID:PID in hexadecimal); it is left out</translation>
    </message>
    <message id="CliOptionRecord">
        <source>Write every message written and read on the link, with its direction and time, to FILE as JSON lines: a recording that q3dart-sim --replay answers from.</source>
        <extracomment>Help of q3dart-cli: the --record option.</extracomment>
        <translation>Write every message written and read on the link, with its direction and time, to FILE as JSON lines: a recording that q3dart-sim --replay answers from.</translation>
    </message>
    <message id="RecordFileNotWritten">
        <source>Cannot write the recording %1: %2</source>
        <extracomment>Error of q3dart-cli --record. %1: the file, %2: the system's reason.</extracomment>
        <translation>Cannot write the recording %1: %2</translation>
    </message>
    <message id="SimOptionReplay">
        <source>Answer as the controller recorded in FILE (q3dart-cli --record) did, restarting where it restarted; the first request that differs from the recording is printed as "replay: request N differs …" and nothing is answered after it.</source>
        <extracomment>Help of q3dart-sim: the --replay option; q3dart-cli --record is typed as it is.</extracomment>
        <translation>Answer as the controller recorded in FILE (q3dart-cli --record) did, restarting where it restarted; the first request that differs from the recording is printed as "replay: request N differs …" and nothing is answered after it.</translation>
    </message>
    <message id="SimUsageReplayOne">
        <source>--replay serves one recorded controller: give one --listen and no --count</source>
        <extracomment>Usage error of q3dart-sim; option names are typed as they are.</extracomment>
        <translation>--replay serves one recorded controller: give one --listen and no --count</translation>
    </message>
    <message id="SimReplayUnreadable">
        <source>%1 cannot be replayed: %2</source>
        <extracomment>Error of q3dart-sim --replay. %1: the file, %2: why it cannot be read.</extracomment>
        <translation>%1 cannot be replayed: %2</translation>
    </message>
    <message id="CliSimulateNotice">
        <source>Simulated controller: it and the firmware it holds end with this command.</source>
        <extracomment>Command-line, standard error, once: with --simulate, the simulated controller and what it holds exist only while the command runs.</extracomment>
        <translation>Simulated controller: it and the firmware it holds end with this command.</translation>
    </message>
    <message id="CliSimulateNoticeRecords">
        <source>Its records (history, downloads) are thrown away too; give --documents DIR to keep them.</source>
        <extracomment>Command-line, standard error, after CliSimulateNotice when no --documents was given: the records go too.</extracomment>
        <translation>Its records (history, downloads) are thrown away too; give --documents DIR to keep them.</translation>
    </message>
    <message id="CliReleasesJson">
        <source>One JSON array of the releases: source (local or online), version, notes, path, date as given, release_date (YYYY-MM-DD) and, online, signature.</source>
        <extracomment>Command-line help: releases --json.</extracomment>
        <translation>One JSON array of the releases: source (local or online), version, notes, path, date as given, release_date (YYYY-MM-DD) and, online, signature.</translation>
    </message>
    <message id="CliReleasesLocalHeading">
        <source>Local releases:</source>
        <extracomment>Command-line: releases without --local or --online, the heading above the local releases.</extracomment>
        <translation>Local releases:</translation>
    </message>
    <message id="CliReleasesOnlineHeading">
        <source>Online releases:</source>
        <extracomment>Command-line: releases without --local or --online, the heading above the online releases.</extracomment>
        <translation>Online releases:</translation>
    </message>
    <message id="CliReleasesNoneLocal">
        <source>No local releases. Import one with: q3dart-cli import ARCHIVE.zip</source>
        <extracomment>Command-line: releases, no local release. Standard error with --local, under its heading otherwise.</extracomment>
        <translation>No local releases. Import one with: q3dart-cli import ARCHIVE.zip</translation>
    </message>
    <message id="CliReleasesNoneOnline">
        <source>The server lists no releases.</source>
        <extracomment>Command-line: releases, the server lists no release. Standard error with --online, under its heading otherwise.</extracomment>
        <translation>The server lists no releases.</translation>
    </message>
    <message id="CliRestartCountdown">
        <source>%1 (gives up in %2 s)</source>
        <extracomment>Command-line, beside the progress bar on a terminal while the controller restarts. %1 = PhaseRestart or PhaseRestartLonger; %2 = whole seconds until the run gives up on the controller.</extracomment>
        <translation>%1 (gives up in %2 s)</translation>
    </message>
    <message id="LanguageUnavailable">
        <source>--language: the app has no texts in "%1"; it speaks %2</source>
        <extracomment>Application command line: --language names a language the app has no texts in. %1 = what was given; %2 = the languages it has, joined by ListSeparator.</extracomment>
        <translation>--language: the app has no texts in "%1"; it speaks %2</translation>
    </message>
    <message id="ReleaseImported">
        <source>Release %1 imported</source>
        <extracomment>Toast after a release archive was imported. %1 = the release's version.</extracomment>
        <translation>Release %1 imported</translation>
    </message>
    <message id="UnzippingFile">
        <source>Unzipping %1…</source>
        <extracomment>Toast while release archives are imported. %1 = the archive's file name, or several joined by ListSeparator.</extracomment>
        <translation>Unzipping %1…</translation>
    </message>
    <message id="EmptyLocalFirmware">
        <source>No releases on this computer yet. Choose Import… to add a release archive (.zip), or drop one on the window.</source>
        <extracomment>Firmware list overlay: the local list when no release has been imported yet; says how to add one. The button is ImportReleases.</extracomment>
        <translation>No releases on this computer yet. Choose Import… to add a release archive (.zip), or drop one on the window.</translation>
    </message>
    <message id="ImportReleases">
        <source>Import…</source>
        <extracomment>Firmware list overlay: the local list's button that opens a file dialog for release archives.</extracomment>
        <translation>Import…</translation>
    </message>
    <message id="ImportReleasesDescription">
        <source>Add release archives (.zip) from this computer</source>
        <extracomment>Firmware list overlay: what the import button does, for assistive technology.</extracomment>
        <translation>Add release archives (.zip) from this computer</translation>
    </message>
    <message id="ImportReleasesTitle">
        <source>Import Releases</source>
        <extracomment>Firmware list overlay: title of the file dialog that chooses release archives to import.</extracomment>
        <translation>Import Releases</translation>
    </message>
    <message id="ReleaseArchives">
        <source>Release archives</source>
        <extracomment>File dialog: name of the file type of release archives (followed by the pattern *.zip).</extracomment>
        <translation>Release archives</translation>
    </message>
    <message id="ReleaseImportedOn">
        <source>Imported %1</source>
        <extracomment>Firmware list overlay: a local release's date, the day it was imported. %1 = the date (2021-03-09).</extracomment>
        <translation>Imported %1</translation>
    </message>
    <message id="ReleaseDatedOn">
        <source>Released %1</source>
        <extracomment>Firmware list overlay: an online release's release date. %1 = the date (2021-03-09).</extracomment>
        <translation>Released %1</translation>
    </message>
    <message id="ReleaseMarkInstalled">
        <source>Installed</source>
        <extracomment>Firmware list overlay: mark on the release the attached controller already runs.</extracomment>
        <translation>Installed</translation>
    </message>
    <message id="ReleaseListLoading">
        <source>Asking the firmware server…</source>
        <extracomment>Firmware list overlay: the online list while the firmware server is asked for its releases.</extracomment>
        <translation>Asking the firmware server…</translation>
    </message>
    <message id="WebPageOfflineNote">
        <source>The site cannot be reached, so this is the copy that came with the app.</source>
        <extracomment>Web page screens: the note above the copy of the page that ships with the app, shown when the site cannot be reached; a Retry button follows it.</extracomment>
        <translation>The site cannot be reached, so this is the copy that came with the app.</translation>
    </message>
    <message id="WebPageRetryDescription">
        <source>Load the page from the site again</source>
        <extracomment>Web page screens: what the Retry button beside the offline note does, for assistive technology.</extracomment>
        <translation>Load the page from the site again</translation>
    </message>
    <message id="NoBrowserPrompt">
        <source>No web browser could be opened. Copy the link below and open it in a browser.</source>
        <extracomment>Dialog when no web browser could be started for a link; the link follows, with a button that copies it.</extracomment>
        <translation>No web browser could be opened. Copy the link below and open it in a browser.</translation>
    </message>
    <message id="CopyLink">
        <source>Copy Link</source>
        <extracomment>Button that copies a link to the clipboard.</extracomment>
        <translation>Copy Link</translation>
    </message>
    <message id="OpenStoreItemPrompt">
        <source>Open the store page of “%1” in your web browser?</source>
        <extracomment>Games page: question before a store link opens in the web browser. %1 = the game's name.</extracomment>
        <translation>Open the store page of “%1” in your web browser?</translation>
    </message>
    <message id="OpenStoreItemAddress">
        <source>It opens %1</source>
        <extracomment>Games page: under the question before a store link opens, the address that opens. %1 = the address.</extracomment>
        <translation>It opens %1</translation>
    </message>
    <message id="OpenInBrowser">
        <source>Open in Browser</source>
        <extracomment>Button that opens a link in the web browser.</extracomment>
        <translation>Open in Browser</translation>
    </message>
    <message id="ControllerTypeVirtual">
        <source>virtual</source>
        <extracomment>Key test: the kind of a virtual game controller (the simulator's, the demo's), in the identity line after its name.</extracomment>
        <translation>virtual</translation>
    </message>
    <message id="CheckGravity">
        <source>1 g</source>
        <extracomment>Stick check result: the accelerometer's reading at rest (gravity).</extracomment>
        <translation>1 g</translation>
    </message>
    <message id="CheckGravityLine">
        <source>Accelerometer at rest: %1 m/s² (%2)</source>
        <extracomment>Controller check report: the accelerometer at rest. %1 = m/s²; %2 = verdict.</extracomment>
        <translation>Accelerometer at rest: %1 m/s² (%2)</translation>
    </message>
    <message id="CheckGyroBiasLine">
        <source>Gyroscope bias: x %1, y %2, z %3 °/s; started over %4 times</source>
        <extracomment>Controller check report: the gyroscope's bias per axis. %1-%3 = degrees per second; %4 = how often a movement restarted the calibration.</extracomment>
        <translation>Gyroscope bias: x %1, y %2, z %3 °/s; started over %4 times</translation>
    </message>
    <message id="CheckGyroDrift">
        <source>drift</source>
        <extracomment>Stick check result: row label of the gyroscope's drift at rest.</extracomment>
        <translation>drift</translation>
    </message>
    <message id="CheckGyroLine">
        <source>Gyroscope at rest: drift %1 °/s (%2), noise %3 °/s (%4)</source>
        <extracomment>Controller check report: the gyroscope at rest. %1 = drift in °/s; %2 = its verdict; %3 = noise in °/s; %4 = its verdict.</extracomment>
        <translation>Gyroscope at rest: drift %1 °/s (%2), noise %3 °/s (%4)</translation>
    </message>
    <message id="CheckGyroNoise">
        <source>noise</source>
        <extracomment>Stick check result: row label of the gyroscope's noise at rest.</extracomment>
        <translation>noise</translation>
    </message>
    <message id="CheckGyroNotCalibrated">
        <source>Gyroscope: not calibrated (the controller did not lie still long enough)</source>
        <extracomment>Controller check report: the gyroscope could not be calibrated.</extracomment>
        <translation>Gyroscope: not calibrated (the controller did not lie still long enough)</translation>
    </message>
    <message id="CheckPromptMotion">
        <source>Lay the controller down on a flat surface and let go until the check ends</source>
        <extracomment>Command-line stick check: the prompt of the gyroscope calibration step.</extracomment>
        <translation>Lay the controller down on a flat surface and let go until the check ends</translation>
    </message>
    <message id="CheckPromptMotionMoved">
        <source>It moved: lay it down and let go again: %1 s</source>
        <extracomment>Stick check: the controller moved during the gyroscope calibration. %1 = seconds left.</extracomment>
        <translation>It moved: lay it down and let go again: %1 s</translation>
    </message>
    <message id="CheckPromptMotionSeconds">
        <source>Lay the controller down and let go: %1 s</source>
        <extracomment>Stick check: the prompt of the gyroscope calibration step. %1 = seconds left.</extracomment>
        <translation>Lay the controller down and let go: %1 s</translation>
    </message>
    <message id="CheckRatePoll">
        <source>%1 (poll)</source>
        <extracomment>Stick check result: a report rate timed by our poll. %1 = the rate and jitter.</extracomment>
        <translation>%1 (poll)</translation>
    </message>
    <message id="CheckSensorRateLine">
        <source>Motion sensors: gyroscope %1, accelerometer %2 samples per second</source>
        <extracomment>Controller check report: the motion sensors' measured rates. %1, %2 = samples per second.</extracomment>
        <translation>Motion sensors: gyroscope %1, accelerometer %2 samples per second</translation>
    </message>
    <message id="CliGamepadsMapping">
        <source>print each controller's mapping line in SDL's format instead (a # comment for one without)</source>
        <extracomment>Command-line help of gamepads --mapping.</extracomment>
        <translation>print each controller's mapping line in SDL's format instead (a # comment for one without)</translation>
    </message>
    <message id="CliLightInvalid">
        <source>--light takes a colour as six hexadecimal digits, RRGGBB</source>
        <extracomment>Command-line usage error of rumble --light.</extracomment>
        <translation>--light takes a colour as six hexadecimal digits, RRGGBB</translation>
    </message>
    <message id="CliRumbleHigh">
        <source>run the high-frequency motor alone at strength S (0 to 1)</source>
        <extracomment>Command-line help of rumble --high.</extracomment>
        <translation>run the high-frequency motor alone at strength S (0 to 1)</translation>
    </message>
    <message id="CliRumbleLeftTrigger">
        <source>run the left trigger's motor at strength S (0 to 1)</source>
        <extracomment>Command-line help of rumble --left-trigger.</extracomment>
        <translation>run the left trigger's motor at strength S (0 to 1)</translation>
    </message>
    <message id="CliRumbleLight">
        <source>set the controller's light to this colour</source>
        <extracomment>Command-line help of rumble --light.</extracomment>
        <translation>set the controller's light to this colour</translation>
    </message>
    <message id="CliRumbleLow">
        <source>run the low-frequency motor alone at strength S (0 to 1)</source>
        <extracomment>Command-line help of rumble --low.</extracomment>
        <translation>run the low-frequency motor alone at strength S (0 to 1)</translation>
    </message>
    <message id="CliRumbleRightTrigger">
        <source>run the right trigger's motor at strength S (0 to 1)</source>
        <extracomment>Command-line help of rumble --right-trigger.</extracomment>
        <translation>run the right trigger's motor at strength S (0 to 1)</translation>
    </message>
    <message id="CliStrengthRange">
        <source>%1 takes a strength from 0 to 1</source>
        <extracomment>Command-line usage error: a motor strength out of range. %1 = option.</extracomment>
        <translation>%1 takes a strength from 0 to 1</translation>
    </message>
    <message id="ClockClosed">
        <source>%1 stopped delivering events (%2)</source>
        <extracomment>Why our poll times a controller's reports: its event device stopped. %1 = node; %2 = the system's reason.</extracomment>
        <translation>%1 stopped delivering events (%2)</translation>
    </message>
    <message id="ClockNoEventDevice">
        <source>no event device of the kernel was found for this controller</source>
        <extracomment>Why our poll times a controller's reports: no kernel event device was found for it.</extracomment>
        <translation>no event device of the kernel was found for this controller</translation>
    </message>
    <message id="ClockNoPermission">
        <source>no permission to read %1</source>
        <extracomment>Why our poll times a controller's reports: its event device may not be read. %1 = node.</extracomment>
        <translation>no permission to read %1</translation>
    </message>
    <message id="ClockNodeMissing">
        <source>%1 does not exist</source>
        <extracomment>Why our poll times a controller's reports: its event device node does not exist. %1 = node.</extracomment>
        <translation>%1 does not exist</translation>
    </message>
    <message id="ClockSeveralEventDevices">
        <source>several event devices match this controller</source>
        <extracomment>Why our poll times a controller's reports: several kernel event devices match it.</extracomment>
        <translation>several event devices match this controller</translation>
    </message>
    <message id="ClockUnreadable">
        <source>%1 cannot be read (%2)</source>
        <extracomment>Why our poll times a controller's reports: its event device cannot be read. %1 = node; %2 = the system's reason.</extracomment>
        <translation>%1 cannot be read (%2)</translation>
    </message>
    <message id="EventStreamEnded">
        <source>the stream ended</source>
        <extracomment>The system's reason when a controller's event stream ended.</extracomment>
        <translation>the stream ended</translation>
    </message>
    <message id="GamepadHasNoMapping">
        <source>%1 (%2) has no mapping</source>
        <extracomment>Command-line gamepads --mapping: a controller without a mapping. %1 = name; %2 = GUID.</extracomment>
        <translation>%1 (%2) has no mapping</translation>
    </message>
    <message id="LightOtherColour">
        <source>Other colour…</source>
        <extracomment>Key test motors page: opens a colour dialog for the controller's light.</extracomment>
        <translation>Other colour…</translation>
    </message>
    <message id="LightSet">
        <source>Light of %1 set to %2</source>
        <extracomment>Command-line rumble --light: the light was set. %1 = controller; %2 = colour.</extracomment>
        <translation>Light of %1 set to %2</translation>
    </message>
    <message id="LightSwatch">
        <source>Light colour %1</source>
        <extracomment>Key test: accessible name of a colour swatch for the light. %1 = colour.</extracomment>
        <translation>Light colour %1</translation>
    </message>
    <message id="MapButtons">
        <source>Map buttons</source>
        <extracomment>Key test: button that starts the mapping editor for a controller without mapping.</extracomment>
        <translation>Map buttons</translation>
    </message>
    <message id="MappingBack">
        <source>Back</source>
        <extracomment>Mapping editor: go back to the element before.</extracomment>
        <translation>Back</translation>
    </message>
    <message id="MappingControllerLeft">
        <source>%1 was unplugged; the mapping was not saved.</source>
        <extracomment>Mapping editor: the controller was unplugged. %1 = controller name.</extracomment>
        <translation>%1 was unplugged; the mapping was not saved.</translation>
    </message>
    <message id="MappingDone">
        <source>Every element has been asked for: save the mapping, or go back to change one.</source>
        <extracomment>Mapping editor: every element has been asked for.</extracomment>
        <translation>Every element has been asked for: save the mapping, or go back to change one.</translation>
    </message>
    <message id="MappingFileIsAFolder">
        <source>it is a folder, not a file</source>
        <extracomment>Why the mapping file cannot be used: it is a folder.</extracomment>
        <translation>it is a folder, not a file</translation>
    </message>
    <message id="MappingFolderNotMade">
        <source>the folder %1 could not be made</source>
        <extracomment>Why the mapping file cannot be written: its folder cannot be made. %1 = folder.</extracomment>
        <translation>the folder %1 could not be made</translation>
    </message>
    <message id="MappingLeftStickX">
        <source>Left stick ↔</source>
        <extracomment>Mapping editor: element name of the left stick's horizontal axis.</extracomment>
        <translation>Left stick ↔</translation>
    </message>
    <message id="MappingLeftStickY">
        <source>Left stick ↕</source>
        <extracomment>Mapping editor: element name of the left stick's vertical axis.</extracomment>
        <translation>Left stick ↕</translation>
    </message>
    <message id="MappingRightStickX">
        <source>Right stick ↔</source>
        <extracomment>Mapping editor: element name of the right stick's horizontal axis.</extracomment>
        <translation>Right stick ↔</translation>
    </message>
    <message id="MappingRightStickY">
        <source>Right stick ↕</source>
        <extracomment>Mapping editor: element name of the right stick's vertical axis.</extracomment>
        <translation>Right stick ↕</translation>
    </message>
    <message id="MappingLetGo">
        <source>Taken: let go</source>
        <extracomment>Mapping editor: an input was taken; the user is to let it go.</extracomment>
        <translation>Taken: let go</translation>
    </message>
    <message id="MappingNotSaved">
        <source>The mapping could not be added to %1: %2. It applies until the program ends.</source>
        <extracomment>The mapping could not be kept in the mapping file. %1 = file; %2 = reason.</extracomment>
        <translation>The mapping could not be added to %1: %2. It applies until the program ends.</translation>
    </message>
    <message id="MappingNotTaken">
        <source>%1 cannot take a mapping; copy the line below into a mapping file instead.</source>
        <extracomment>Mapping editor: the controller's source cannot take a mapping. %1 = controller.</extracomment>
        <translation>%1 cannot take a mapping; copy the line below into a mapping file instead.</translation>
    </message>
    <message id="MappingPadDirection">
        <source>pad %1</source>
        <extracomment>Mapping editor: element name of a direction of the pad. %1 = direction.</extracomment>
        <translation>pad %1</translation>
    </message>
    <message id="MappingPress">
        <source>Press %1</source>
        <extracomment>Mapping editor: the prompt for a button. %1 = element.</extracomment>
        <translation>Press %1</translation>
    </message>
    <message id="MappingPushLeftStickRight">
        <source>Push the left stick to the right</source>
        <extracomment>Mapping editor: the prompt for the left stick's horizontal axis.</extracomment>
        <translation>Push the left stick to the right</translation>
    </message>
    <message id="MappingPushLeftStickUp">
        <source>Push the left stick up</source>
        <extracomment>Mapping editor: the prompt for the left stick's vertical axis.</extracomment>
        <translation>Push the left stick up</translation>
    </message>
    <message id="MappingPushRightStickRight">
        <source>Push the right stick to the right</source>
        <extracomment>Mapping editor: the prompt for the right stick's horizontal axis.</extracomment>
        <translation>Push the right stick to the right</translation>
    </message>
    <message id="MappingPushRightStickUp">
        <source>Push the right stick up</source>
        <extracomment>Mapping editor: the prompt for the right stick's vertical axis.</extracomment>
        <translation>Push the right stick up</translation>
    </message>
    <message id="MappingRefused">
        <source>The controller library refused the mapping.</source>
        <extracomment>The controller library refused a mapping line.</extracomment>
        <translation>The controller library refused the mapping.</translation>
    </message>
    <message id="MappingSave">
        <source>Save</source>
        <extracomment>Mapping editor: keeps the mapping.</extracomment>
        <translation>Save</translation>
    </message>
    <message id="MappingSaved">
        <source>%1 is mapped: its mapping is kept in the mapping file.</source>
        <extracomment>Mapping editor: the mapping was kept and applies. %1 = controller.</extracomment>
        <translation>%1 is mapped: its mapping is kept in the mapping file.</translation>
    </message>
    <message id="MappingSkip">
        <source>Skip</source>
        <extracomment>Mapping editor: leaves the element asked for unmapped.</extracomment>
        <translation>Skip</translation>
    </message>
    <message id="MappingTitle">
        <source>Mapping %1</source>
        <extracomment>Mapping editor: caption. %1 = controller.</extracomment>
        <translation>Mapping %1</translation>
    </message>
    <message id="MotionAcceleration">
        <source>%1 m/s²</source>
        <extracomment>A figure in metres per second squared. %1 = number.</extracomment>
        <translation>%1 m/s²</translation>
    </message>
    <message id="MotionAccelerometer">
        <source>Accelerometer (m/s²)</source>
        <extracomment>Key test motion page: the accelerometer's title.</extracomment>
        <translation>Accelerometer (m/s²)</translation>
    </message>
    <message id="MotionCalibration">
        <source>At rest</source>
        <extracomment>Key test motion page: title of the gyroscope's calibration.</extracomment>
        <translation>At rest</translation>
    </message>
    <message id="MotionDegrees">
        <source>%1 °/s</source>
        <extracomment>A figure in degrees per second. %1 = number.</extracomment>
        <translation>%1 °/s</translation>
    </message>
    <message id="MotionDrift">
        <source>drift %1 °/s</source>
        <extracomment>Key test motion page: the gyroscope's drift. %1 = degrees per second.</extracomment>
        <translation>drift %1 °/s</translation>
    </message>
    <message id="MotionGravity">
        <source>1 g reads %1 m/s²</source>
        <extracomment>Key test motion page: the accelerometer at rest. %1 = m/s².</extracomment>
        <translation>1 g reads %1 m/s²</translation>
    </message>
    <message id="MotionGyroscope">
        <source>Gyroscope (°/s)</source>
        <extracomment>Key test: the gyroscope's title.</extracomment>
        <translation>Gyroscope (°/s)</translation>
    </message>
    <message id="MotionNoise">
        <source>noise %1 °/s</source>
        <extracomment>Key test motion page: the gyroscope's noise. %1 = degrees per second.</extracomment>
        <translation>noise %1 °/s</translation>
    </message>
    <message id="MotionNotCalibrated">
        <source>Check sticks calibrates the gyroscope: it ends with the controller lying still.</source>
        <extracomment>Key test motion page: no calibration yet.</extracomment>
        <translation>Check sticks calibrates the gyroscope: it ends with the controller lying still.</translation>
    </message>
    <message id="MotionRate">
        <source>%1 per second</source>
        <extracomment>Key test motion page: a sensor's measured rate. %1 = samples per second.</extracomment>
        <translation>%1 per second</translation>
    </message>
    <message id="MotionRateStated">
        <source>%1 per second (states %2)</source>
        <extracomment>Key test motion page: a sensor's measured and stated rate. %1 = measured; %2 = stated, per second.</extracomment>
        <translation>%1 per second (states %2)</translation>
    </message>
    <message id="MotionTab">
        <source>Motion</source>
        <extracomment>Key test: page of the motion sensors.</extracomment>
        <translation>Motion</translation>
    </message>
    <message id="MotorHigh">
        <source>high</source>
        <extracomment>Command-line rumble: the high-frequency motor.</extracomment>
        <translation>high</translation>
    </message>
    <message id="MotorHighLabel">
        <source>High frequency</source>
        <extracomment>Key test motors page: the high-frequency motor.</extracomment>
        <translation>High frequency</translation>
    </message>
    <message id="MotorLeftTrigger">
        <source>left trigger</source>
        <extracomment>Command-line rumble: the left trigger's motor.</extracomment>
        <translation>left trigger</translation>
    </message>
    <message id="MotorLeftTriggerLabel">
        <source>Left trigger</source>
        <extracomment>Key test motors page: the left trigger's motor.</extracomment>
        <translation>Left trigger</translation>
    </message>
    <message id="MotorLow">
        <source>low</source>
        <extracomment>Command-line rumble: the low-frequency motor.</extracomment>
        <translation>low</translation>
    </message>
    <message id="MotorLowLabel">
        <source>Low frequency</source>
        <extracomment>Key test motors page: the low-frequency motor.</extracomment>
        <translation>Low frequency</translation>
    </message>
    <message id="MotorRightTrigger">
        <source>right trigger</source>
        <extracomment>Command-line rumble: the right trigger's motor.</extracomment>
        <translation>right trigger</translation>
    </message>
    <message id="MotorRightTriggerLabel">
        <source>Right trigger</source>
        <extracomment>Key test motors page: the right trigger's motor.</extracomment>
        <translation>Right trigger</translation>
    </message>
    <message id="MotorRun">
        <source>Run</source>
        <extracomment>Key test motors page: runs one motor on its own.</extracomment>
        <translation>Run</translation>
    </message>
    <message id="MotorStrength">
        <source>%1 %2</source>
        <extracomment>Command-line rumble: one motor and its strength. %1 = motor; %2 = strength.</extracomment>
        <translation>%1 %2</translation>
    </message>
    <message id="MotorsTab">
        <source>Motors</source>
        <extracomment>Key test: page of the motors and the light.</extracomment>
        <translation>Motors</translation>
    </message>
    <message id="NoLightController">
        <source>No connected game controller has a light.</source>
        <extracomment>Command-line rumble --light: no controller has a light.</extracomment>
        <translation>No connected game controller has a light.</translation>
    </message>
    <message id="NoTouchpad">
        <source>This controller has no touchpad.</source>
        <extracomment>Key test touchpad page: the controller has no touchpad.</extracomment>
        <translation>This controller has no touchpad.</translation>
    </message>
    <message id="NoTriggerRumbleController">
        <source>No connected game controller has trigger motors.</source>
        <extracomment>Command-line rumble: no controller has trigger motors.</extracomment>
        <translation>No connected game controller has trigger motors.</translation>
    </message>
    <message id="ReportClockDevice">
        <source>Report times: the controller's own</source>
        <extracomment>Key test: the controller's reports are timed by its own clock.</extracomment>
        <translation>Report times: the controller's own</translation>
    </message>
    <message id="ReportClockKernel">
        <source>Report times: the kernel's, from %1</source>
        <extracomment>Key test: the controller's reports are timed by the kernel. %1 = event device.</extracomment>
        <translation>Report times: the kernel's, from %1</translation>
    </message>
    <message id="ReportClockPoll">
        <source>Report times: our poll's, at most 125 per second</source>
        <extracomment>Key test: the controller's reports are timed by our poll.</extracomment>
        <translation>Report times: our poll's, at most 125 per second</translation>
    </message>
    <message id="ReportClockPollBecause">
        <source>Report times: our poll's, at most 125 per second: %1</source>
        <extracomment>Key test: the controller's reports are timed by our poll, and why. %1 = reason.</extracomment>
        <translation>Report times: our poll's, at most 125 per second: %1</translation>
    </message>
    <message id="RumbleMotorsRunning">
        <source>Rumbling %1 for %2 s: %3</source>
        <extracomment>Command-line rumble: motors on their own. %1 = controller; %2 = seconds; %3 = the motors and their strengths.</extracomment>
        <translation>Rumbling %1 for %2 s: %3</translation>
    </message>
    <message id="TouchpadCaption">
        <source>Touchpad %1 · %2 fingers</source>
        <extracomment>Key test touchpad page: a touchpad. %1 = its number; %2 = fingers down.</extracomment>
        <translation>Touchpad %1 · %2 fingers</translation>
    </message>
    <message id="TouchpadPressed">
        <source>pressed</source>
        <extracomment>Key test touchpad page: the touchpad's button is pressed.</extracomment>
        <translation>pressed</translation>
    </message>
    <message id="TouchpadTab">
        <source>Touchpad</source>
        <extracomment>Key test: page of the touchpads.</extracomment>
        <translation>Touchpad</translation>
    </message>
    <message id="VerdictOff">
        <source>off</source>
        <extracomment>Verdict: a reading outside what is right.</extracomment>
        <translation>off</translation>
    </message>
    <message id="MappingCancel">
        <source>Cancel</source>
        <extracomment>Mapping editor: closes it without saving.</extracomment>
        <translation>Cancel</translation>
    </message>
    <message id="LightColourTitle">
        <source>Light colour</source>
        <extracomment>Key test: title of the dialog that picks the light's colour.</extracomment>
        <translation>Light colour</translation>
    </message>
    <message id="LightColourSet">
        <source>Set</source>
        <extracomment>Key test light dialog: sets the colour.</extracomment>
        <translation>Set</translation>
    </message>
    <message id="ColourRed">
        <source>Red</source>
        <extracomment>Key test light dialog: the red slider.</extracomment>
        <translation>Red</translation>
    </message>
    <message id="ColourGreen">
        <source>Green</source>
        <extracomment>Key test light dialog: the green slider.</extracomment>
        <translation>Green</translation>
    </message>
    <message id="ColourBlue">
        <source>Blue</source>
        <extracomment>Key test light dialog: the blue slider.</extracomment>
        <translation>Blue</translation>
    </message>
    <message id="LightColourCancel">
        <source>Cancel</source>
        <extracomment>Key test light dialog: closes it and leaves the light as it was.</extracomment>
        <translation>Cancel</translation>
    </message>
    <message id="CheckSecondsLeft">
        <source>%1 s left</source>
        <extracomment>Stick check: the seconds the current step has left. %1 = whole seconds.</extracomment>
        <translation>%1 s left</translation>
    </message>
    <message id="CheckKeysRest">
        <source>Keyboard: leave W A S D and I J K L alone</source>
        <extracomment>Stick check with the keyboard playing the controller (demo): what to do with the keys while the sticks rest.</extracomment>
        <translation>Keyboard: leave W A S D and I J K L alone</translation>
    </message>
    <message id="CheckKeysRotateLeft">
        <source>Keyboard: hold Shift with W, A, S or D to sweep the left stick around its edge, then let go</source>
        <extracomment>Stick check with the keyboard playing the controller (demo): the key combination that sweeps the left stick around its edge.</extracomment>
        <translation>Keyboard: hold Shift with W, A, S or D to sweep the left stick around its edge, then let go</translation>
    </message>
    <message id="CheckKeysRotateRight">
        <source>Keyboard: hold Shift with I, J, K or L to sweep the right stick around its edge, then let go</source>
        <extracomment>Stick check with the keyboard playing the controller (demo): the key combination that sweeps the right stick around its edge.</extracomment>
        <translation>Keyboard: hold Shift with I, J, K or L to sweep the right stick around its edge, then let go</translation>
    </message>
    <message id="CheckKeysTriggers">
        <source>Keyboard: 1 and 3 are the left and right trigger: press them, then let go</source>
        <extracomment>Stick check with the keyboard playing the controller (demo): the keys that are the triggers.</extracomment>
        <translation>Keyboard: 1 and 3 are the left and right trigger: press them, then let go</translation>
    </message>
    <message id="CheckKeysMotion">
        <source>Keyboard: leave R T, Y U and O P alone: they turn the controller</source>
        <extracomment>Stick check with the keyboard playing the controller (demo): the keys that turn the controller must be left alone while the gyroscope is calibrated.</extracomment>
        <translation>Keyboard: leave R T, Y U and O P alone: they turn the controller</translation>
    </message>
    <message id="CheckPromptMotionAgain">
        <source>It moved: lay it down and let go again</source>
        <extracomment>Stick check: the controller moved while the gyroscope was being calibrated; the countdown is shown beside it.</extracomment>
        <translation>It moved: lay it down and let go again</translation>
    </message>
    <message id="CheckJitter">
        <source>Jitter</source>
        <extracomment>Stick check: label of the row giving how much the time between a stick's reports varies (± milliseconds).</extracomment>
        <translation>Jitter</translation>
    </message>
    <message id="CheckNowColumn">
        <source>This check</source>
        <extracomment>Stick check: heading of the column of this check's figures, beside the previous check's.</extracomment>
        <translation>This check</translation>
    </message>
    <message id="CheckPreviousColumn">
        <source>Previous</source>
        <extracomment>Stick check: heading of the column of the previous check's figures.</extracomment>
        <translation>Previous</translation>
    </message>
    <message id="CheckTravel">
        <source>Travel %1–%2</source>
        <extracomment>Stick check: a trigger's travel from its lowest to its highest level (0.00 to 1.00). %1 = lowest; %2 = highest.</extracomment>
        <translation>Travel %1–%2</translation>
    </message>
    <message id="CheckLevels" numerus="yes">
        <source>%n level(s)</source>
        <extracomment>Stick check: how many distinct levels a trigger reported. %n = count (plural forms).</extracomment>
        <translation>
            <numerusform>%n level</numerusform>
            <numerusform>%n levels</numerusform>
        </translation>
    </message>
</context>
</TS>

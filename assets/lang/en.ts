<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>FocusWatcher</name>
    <message>
        <source>GNOME on Wayland does not tell which window is in front; log in with &quot;GNOME on Xorg&quot; to switch the profile with the application.</source>
        <translation>GNOME on Wayland does not tell which window is in front; log in with &quot;GNOME on Xorg&quot; to switch the profile with the application.</translation>
    </message>
</context>
<context>
    <name>KivBtnWindow</name>
    <message>
        <source>MACRO SELECT</source>
        <translation>MACRO SELECT</translation>
    </message>
</context>
<context>
    <name>KivComboKeyWindow</name>
    <message>
        <source>Combo Key</source>
        <translation>Combo Key</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>KivDialogFrame</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>KivFireKeyWindow</name>
    <message>
        <source>FireKey Setting</source>
        <translation>FireKey Setting</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>Middle</source>
        <translation>Middle</translation>
    </message>
    <message>
        <source>Keyboard Key</source>
        <translation>Keyboard Key</translation>
    </message>
    <message>
        <source>Times:</source>
        <translation>Times:</translation>
    </message>
    <message>
        <source>Delay:</source>
        <translation>DELAY(ms):</translation>
    </message>
</context>
<context>
    <name>KivFocusRulesDialog</name>
    <message>
        <source>PROFILE PER APPLICATION</source>
        <translation>PROFILE PER APPLICATION</translation>
    </message>
    <message>
        <source>Switch the profile with the application in front</source>
        <translation>Switch the profile with the application in front</translation>
    </message>
    <message>
        <source>The application in front cannot be known on this desktop.</source>
        <translation>The application in front cannot be known on this desktop.</translation>
    </message>
    <message>
        <source>UP</source>
        <translation>UP</translation>
    </message>
    <message>
        <source>DOWN</source>
        <translation>DOWN</translation>
    </message>
    <message>
        <source>DELETE</source>
        <translation>DELETE</translation>
    </message>
    <message>
        <source>Executable or window class</source>
        <translation>Program or class</translation>
    </message>
    <message>
        <source>RUNNING</source>
        <translation>RUNNING</translation>
    </message>
    <message>
        <source>ADD</source>
        <translation>ADD</translation>
    </message>
    <message>
        <source>Every other application</source>
        <translation>Every other application</translation>
    </message>
    <message>
        <source>No application found</source>
        <translation>No application found</translation>
    </message>
</context>
<context>
    <name>KivGunsetDialog</name>
    <message>
        <source>LEFT CLICK</source>
        <translation>LEFT CLICK</translation>
    </message>
    <message>
        <source> DOWN</source>
        <translation> DOWN</translation>
    </message>
    <message>
        <source> UP</source>
        <translation> UP</translation>
    </message>
    <message>
        <source>MOVE DOWN</source>
        <translation>MOVE DOWN</translation>
    </message>
    <message>
        <source>MOVE UP</source>
        <translation>MOVE UP</translation>
    </message>
    <message>
        <source>MOVE LEFT</source>
        <translation>MOVE LEFT</translation>
    </message>
    <message>
        <source>MOVE RIGHT</source>
        <translation>MOVE RIGHT</translation>
    </message>
    <message>
        <source>GUN SET</source>
        <translation>GUN SET</translation>
    </message>
    <message>
        <source>Gun Set</source>
        <translation>Gun Set</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>YES</translation>
    </message>
    <message>
        <source>No</source>
        <translation>NO</translation>
    </message>
    <message>
        <source>GUNFILE NAME</source>
        <translation>GUNFILE NAME</translation>
    </message>
    <message>
        <source>BULLETS</source>
        <translation>BULLETS</translation>
    </message>
    <message>
        <source>DELAY(MS)</source>
        <translation>DELAY(MS)</translation>
    </message>
    <message>
        <source>VERTICAL</source>
        <translation>VERTICAL</translation>
    </message>
    <message>
        <source>HORIZONTAL</source>
        <translation>HORIZONTAL</translation>
    </message>
    <message>
        <source>Pause after the shot</source>
        <translation>Pause after the shot</translation>
    </message>
    <message>
        <source>Positive moves down, negative up</source>
        <translation>Positive moves down, negative up</translation>
    </message>
    <message>
        <source>Positive moves right, negative left</source>
        <translation>Positive moves right, negative left</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Please input file name.</source>
        <translation>Please input file name.</translation>
    </message>
</context>
<context>
    <name>KivMacroSelect</name>
    <message>
        <source>Yes</source>
        <translation>YES</translation>
    </message>
    <message>
        <source>No</source>
        <translation>NO</translation>
    </message>
    <message>
        <source>LOOPS TIME(1-255)</source>
        <translation>LOOPS TIME</translation>
    </message>
    <message>
        <source>REPEAT RUN WHEN KEY DOWN</source>
        <translation>REPEAT RUN WHEN KEY DOWN</translation>
    </message>
    <message>
        <source>REPEAT RUN UNTILL THE KEY DOWN</source>
        <translation>REPEAT UNTIL THE KEY IS PRESSED AGAIN</translation>
    </message>
</context>
<context>
    <name>KivMessageBox</name>
    <message>
        <source>Yes</source>
        <translation>YES</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>No</source>
        <translation>NO</translation>
    </message>
</context>
<context>
    <name>KivSingleKeyWindow</name>
    <message>
        <source>Single Key</source>
        <translation>Single Key</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>KivSniperWindow</name>
    <message>
        <source>Sniper Setting</source>
        <translation>Sniper Setting</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>MacroDialog</name>
    <message>
        <source>MACRO</source>
        <translation>MACRO</translation>
    </message>
    <message>
        <source>Macro Exist!</source>
        <translation>Macro Exist!</translation>
    </message>
    <message>
        <source>TOO MANY MACROS TO BE CREATE!</source>
        <translation>TOO MANY MACROS TO BE CREATE!</translation>
    </message>
    <message>
        <source>INVALID MACRO NAME!</source>
        <translation>INVALID MACRO NAME!</translation>
    </message>
    <message>
        <source>MACRO FILE NOT FOUND!</source>
        <translation>MACRO FILE NOT FOUND!</translation>
    </message>
    <message>
        <source>NOT A MACRO FILE!</source>
        <translation>NOT A MACRO FILE!</translation>
    </message>
    <message>
        <source>MACRO FILE COULD NOT BE WRITTEN!</source>
        <translation>MACRO FILE COULD NOT BE WRITTEN!</translation>
    </message>
    <message>
        <source>WARNING</source>
        <translation>WARNING</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>LEFT CLICK</source>
        <translation>LEFT CLICK</translation>
    </message>
    <message>
        <source>MIDDLE CLICK</source>
        <translation>MIDDLE CLICK</translation>
    </message>
    <message>
        <source>RIGHT CLICK</source>
        <translation>RIGHT CLICK</translation>
    </message>
    <message>
        <source>FORWARD</source>
        <translation>FORWARD</translation>
    </message>
    <message>
        <source>BACKWARD</source>
        <translation>BACKWARD</translation>
    </message>
    <message>
        <source>MOVE LEFT</source>
        <translation>MOVE LEFT</translation>
    </message>
    <message>
        <source>MOVE RIGHT</source>
        <translation>MOVE RIGHT</translation>
    </message>
    <message>
        <source>MOVE UP</source>
        <translation>MOVE UP</translation>
    </message>
    <message>
        <source>MOVE DOWN</source>
        <translation>MOVE DOWN</translation>
    </message>
    <message>
        <source>PRESS DOWN</source>
        <translation>PRESS DOWN</translation>
    </message>
    <message>
        <source>BOUNCE UP</source>
        <translation>BOUNCE UP</translation>
    </message>
    <message>
        <source>MOVEMENT</source>
        <translation>MOVEMENT</translation>
    </message>
    <message>
        <source>COPY</source>
        <translation>COPY</translation>
    </message>
    <message>
        <source>CUT</source>
        <translation>CUT</translation>
    </message>
    <message>
        <source>PASTE</source>
        <translation>PASTE</translation>
    </message>
    <message>
        <source>START</source>
        <translation>START</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>STOP</translation>
    </message>
    <message>
        <source>RECORD AFTER</source>
        <translation>RECORD AFTER</translation>
    </message>
    <message>
        <source>INSERT DELAY</source>
        <translation>INSERT DELAY</translation>
    </message>
    <message>
        <source>EDIT</source>
        <translation>EDIT</translation>
    </message>
    <message>
        <source>DELETE</source>
        <translation>DELETE</translation>
    </message>
    <message>
        <source>CLEAR</source>
        <translation>CLEAR</translation>
    </message>
    <message>
        <source>SAVE</source>
        <translation>SAVE</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>CANCEL</translation>
    </message>
    <message>
        <source>TOP</source>
        <translation>TOP</translation>
    </message>
    <message>
        <source>BOTTOM</source>
        <translation>BOTTOM</translation>
    </message>
    <message>
        <source>ADD</source>
        <translation>ADD</translation>
    </message>
    <message>
        <source>CHANGE NAME</source>
        <translation>CHANGE NAME</translation>
    </message>
    <message>
        <source>BATCH</source>
        <translation>BATCH</translation>
    </message>
    <message>
        <source>IMPORT</source>
        <translation>IMPORT</translation>
    </message>
    <message>
        <source>EXPORT</source>
        <translation>EXPORT</translation>
    </message>
    <message>
        <source>GUN SET</source>
        <translation>GUN SET</translation>
    </message>
    <message>
        <source>RECORD DELAYS BETWEEN ACTION</source>
        <translation>RECORD DELAYS BETWEEN ACTION</translation>
    </message>
    <message>
        <source>INSERT DEFAULT DELAY</source>
        <translation>INSERT DEFAULT DELAY</translation>
    </message>
    <message>
        <source>LOOPS TIME(1-255)</source>
        <translation>LOOPS TIME(1-255)</translation>
    </message>
    <message>
        <source>REPEAT RUN WHEN KEY DOWN</source>
        <translation>REPEAT RUN WHEN KEY DOWN</translation>
    </message>
    <message>
        <source>REPEAT RUN UNTIL THE KEY DOWN</source>
        <translation>REPEAT RUN UNTIL THE KEY DOWN</translation>
    </message>
    <message>
        <source>ONE OR MORE KEYS HAS NOT BEEN RELEASED.</source>
        <translation>ONE OR MORE KEYS HAS NOT BEEN RELEASED.</translation>
    </message>
    <message>
        <source>Macro File(*.MSMACRO)</source>
        <translation>Macro File(*.MSMACRO)</translation>
    </message>
    <message>
        <source>Press</source>
        <translation>Press</translation>
    </message>
    <message>
        <source>Release</source>
        <translation>Release</translation>
    </message>
    <message>
        <source>MACRO NAME</source>
        <translation>MACRO NAME</translation>
    </message>
    <message>
        <source>KEY</source>
        <translation>KEY</translation>
    </message>
    <message>
        <source>DELAY(MS)</source>
        <translation>DELAY(MS)</translation>
    </message>
    <message>
        <source>MOUSE ACTION</source>
        <translation>MOUSE ACTION</translation>
    </message>
    <message>
        <source>TOO LONG FOR THE MOUSE: %1 BYTES PAST ITS 200 ARE CUT, %2 ACTIONS WITH THEM</source>
        <translation>TOO LONG FOR THE MOUSE: %1 BYTES PAST ITS 200 ARE CUT, %2 ACTIONS WITH THEM</translation>
    </message>
    <message>
        <source>TOO LONG FOR THE MOUSE: ONLY THE FIRST 63 ACTIONS ARE SENT, %1 ARE CUT</source>
        <translation>TOO LONG FOR THE MOUSE: ONLY THE FIRST 63 ACTIONS ARE SENT, %1 ARE CUT</translation>
    </message>
    <message>
        <source>Load Macro File</source>
        <translation>Load Macro File</translation>
    </message>
    <message>
        <source>Save Macro File</source>
        <translation>Save Macro File</translation>
    </message>
    <message>
        <source>ACTION</source>
        <translation>ACTION</translation>
    </message>
    <message>
        <source>KEY / VALUE</source>
        <translation>KEY / VALUE</translation>
    </message>
    <message>
        <source>Delay</source>
        <translation>Delay</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>ONLY KEYS TYPED IN THIS WINDOW ARE RECORDED.</source>
        <translation>ONLY KEYS TYPED IN THIS WINDOW ARE RECORDED.</translation>
    </message>
    <message>
        <source>This desktop does not let a program see the keys typed into other programs&apos; windows: keep this window in front while recording.</source>
        <translation>This desktop does not let a program see the keys typed into other programs' windows: keep this window in front while recording.</translation>
    </message>
</context>
<context>
    <name>MousecfgWidget</name>
    <message>
        <source>&amp;Load Config</source>
        <translation>&amp;Load Config</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>MousecfgWidget</source>
        <translation>MousecfgWidget</translation>
    </message>
    <message>
        <source>Write settings when the mouse connects</source>
        <translation>Write settings when the mouse connects</translation>
    </message>
    <message>
        <source>Stop recording diagnostics</source>
        <translation>Stop recording diagnostics</translation>
    </message>
    <message>
        <source>Record diagnostics...</source>
        <translation>Record diagnostics...</translation>
    </message>
    <message>
        <source>Start when you log in</source>
        <translation>Start when you log in</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>LIGHTING</source>
        <translation>LIGHTING</translation>
    </message>
    <message>
        <source>CUSTOMIZE</source>
        <translation>CUSTOMIZE</translation>
    </message>
    <message>
        <source>DPI</source>
        <translation>DPI</translation>
    </message>
    <message>
        <source>MACRO</source>
        <translation>MACRO</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>PROFILE</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>MODE</translation>
    </message>
    <message>
        <source>Press Enter To Apply</source>
        <translation>PRESS ENTER TO APPLY</translation>
    </message>
    <message>
        <source>NAME</source>
        <translation>NAME</translation>
    </message>
    <message>
        <source>ADD</source>
        <translation>ADD</translation>
    </message>
    <message>
        <source>DELETE</source>
        <translation>DELETE</translation>
    </message>
    <message>
        <source>COPY</source>
        <translation>COPY</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>CANCEL</translation>
    </message>
    <message>
        <source>RESET</source>
        <translation>RESET</translation>
    </message>
    <message>
        <source>Reset All</source>
        <translation>RESET ALL</translation>
    </message>
    <message>
        <source>LOAD1</source>
        <translation>LOAD</translation>
    </message>
    <message>
        <source>SAVE</source>
        <translation>SAVE</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>APPLY</translation>
    </message>
    <message>
        <source>Firmware Update</source>
        <translation>FIRMWARE UPDATE</translation>
    </message>
    <message>
        <source>Front</source>
        <translation>FRONT</translation>
    </message>
    <message>
        <source>Side</source>
        <translation>SIDE</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>WARNING</translation>
    </message>
    <message>
        <source>AT LEAST ONE CLICK FUNCTION TO BE RETAINED.</source>
        <translation>AT LEAST ONE CLICK FUNCTION TO BE RETAINED.</translation>
    </message>
    <message>
        <source>To update the firmware, please connect to the computer with a cable.</source>
        <translation>To update the firmware, please connect to the computer with a cable.</translation>
    </message>
    <message>
        <source>Do you want to upgrade the firmware?</source>
        <translation>Do you want to upgrade the firmware?</translation>
    </message>
    <message>
        <source>Dongle Disconnect!</source>
        <translation>Dongle Disconnect!</translation>
    </message>
    <message>
        <source>Basic</source>
        <translation>BASIC</translation>
    </message>
    <message>
        <source>Windows</source>
        <translation>WINDOWS</translation>
    </message>
    <message>
        <source>Advance</source>
        <translation>ADVANCE</translation>
    </message>
    <message>
        <source>Media</source>
        <translation>MEDIA</translation>
    </message>
    <message>
        <source>Profile Menu</source>
        <translation>MODE</translation>
    </message>
    <message>
        <source>Polling Rate</source>
        <translation>POLLING RATE</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>LEFT</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>RIGHT</translation>
    </message>
    <message>
        <source>Middle</source>
        <translation>MIDDLE</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>FORWARD</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>BACK</translation>
    </message>
    <message>
        <source>SINGLE KEY</source>
        <translation>SINGLE KEY</translation>
    </message>
    <message>
        <source>COMBO KEY</source>
        <translation>COMBO KEY</translation>
    </message>
    <message>
        <source>FIRE KEY</source>
        <translation>FIRE KEY</translation>
    </message>
    <message>
        <source>Button Off</source>
        <translation>BUTTON OFF</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>CUT</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>COPY</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>PASTE</translation>
    </message>
    <message>
        <source>All</source>
        <translation>ALL</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>FIND</translation>
    </message>
    <message>
        <source>New</source>
        <translation>NEW</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>PRINT</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>SAVE</translation>
    </message>
    <message>
        <source>Switch Window</source>
        <translation>SWITCH WINDOW</translation>
    </message>
    <message>
        <source>Close Window</source>
        <translation>CLOSE WINDOW</translation>
    </message>
    <message>
        <source>My Computer</source>
        <translation>MY COMPUTER</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>RUN</translation>
    </message>
    <message>
        <source>Show Desktop</source>
        <translation>SHOW DESKTOP</translation>
    </message>
    <message>
        <source>Lock PC</source>
        <translation>LOCK PC</translation>
    </message>
    <message>
        <source>Browser Home</source>
        <translation>BROWSER HOME</translation>
    </message>
    <message>
        <source>Browser Backward</source>
        <translation>BROWSER BACKWARD</translation>
    </message>
    <message>
        <source>Browser Forward</source>
        <translation>BROWSER FORWARD</translation>
    </message>
    <message>
        <source>Browser Stop</source>
        <translation>BROWSER STOP</translation>
    </message>
    <message>
        <source>Browser Refresh</source>
        <translation>BROWSER REFRESH</translation>
    </message>
    <message>
        <source>Browser Search</source>
        <translation>BROWSER SEARCH</translation>
    </message>
    <message>
        <source>Browser Favorite</source>
        <translation>BROWSER FAVORITE</translation>
    </message>
    <message>
        <source>Mail</source>
        <translation>MAIL</translation>
    </message>
    <message>
        <source>Play/Pause</source>
        <translation>PLAY/PAUSE</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>STOP</translation>
    </message>
    <message>
        <source>Previous Track</source>
        <translation>PREVIOUS TRACK</translation>
    </message>
    <message>
        <source>Next Track</source>
        <translation>NEXT TRACK</translation>
    </message>
    <message>
        <source>Volume Up</source>
        <translation>VOLUME UP</translation>
    </message>
    <message>
        <source>Volume Down</source>
        <translation>VOLUME DOWN</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>MUTE</translation>
    </message>
    <message>
        <source>Media Player</source>
        <translation>MEDIA PLAYER</translation>
    </message>
    <message>
        <source>DPI Switch</source>
        <translation>DPI SWITCH</translation>
    </message>
    <message>
        <source>DPI +</source>
        <translation>DPI +</translation>
    </message>
    <message>
        <source>DPI -</source>
        <translation>DPI -</translation>
    </message>
    <message>
        <source>Rate +</source>
        <translation>RATE +</translation>
    </message>
    <message>
        <source>Rate -</source>
        <translation>RATE -</translation>
    </message>
    <message>
        <source>Scroll Up</source>
        <translation>SCROLL UP</translation>
    </message>
    <message>
        <source>Scroll Down</source>
        <translation>SCROLL DOWN</translation>
    </message>
    <message>
        <source>Led Switch</source>
        <translation>LEDMODE SWITCH</translation>
    </message>
    <message>
        <source>SNIPER</source>
        <translation>SNIPER</translation>
    </message>
    <message>
        <source>Profile +</source>
        <translation>MODE +</translation>
    </message>
    <message>
        <source>Profile -</source>
        <translation>MODE -</translation>
    </message>
    <message>
        <source>Profile Switch</source>
        <translation>MODE SWITCH</translation>
    </message>
    <message>
        <source>Boss Key</source>
        <translation>Boss Key</translation>
    </message>
    <message>
        <source>Rate Switch</source>
        <translation>RATE SWITCH</translation>
    </message>
    <message>
        <source>Macro Manager</source>
        <translation>MACRO MANAGER</translation>
    </message>
    <message>
        <source>Mouse is sleeping or not connected.</source>
        <translation>Mouse is sleeping or not connected,send data failed.</translation>
    </message>
    <message>
        <source>The buttons run more than 12 different macros; the mouse holds at most 12. Nothing was sent.</source>
        <translation>THE BUTTONS RUN MORE THAN 12 DIFFERENT MACROS; THE MOUSE HOLDS AT MOST 12. NOTHING WAS SENT.</translation>
    </message>
    <message>
        <source>The mouse has no such profile. Nothing was sent.</source>
        <translation>THE MOUSE HAS NO SUCH PROFILE. NOTHING WAS SENT.</translation>
    </message>
    <message>
        <source>Send data failed, please try again.</source>
        <translation>Send data failed, please try again.</translation>
    </message>
    <message>
        <source>FULL LIGHTED</source>
        <translation>STATIC</translation>
    </message>
    <message>
        <source>BREATHING</source>
        <translation>BREATHING</translation>
    </message>
    <message>
        <source>RAINBOW</source>
        <translation>NEON</translation>
    </message>
    <message>
        <source>REACTIVE</source>
        <translation>RESPONSIVE</translation>
    </message>
    <message>
        <source>Raindrop</source>
        <translation>RAINDROPS</translation>
    </message>
    <message>
        <source>Horizontal WAVE</source>
        <translation>WAVE</translation>
    </message>
    <message>
        <source>Horizontal GO WITHOUT TRACE</source>
        <translation>GO WITHOUT TRACE</translation>
    </message>
    <message>
        <source> MINUTE</source>
        <translation> MINUTE</translation>
    </message>
    <message>
        <source>Color Edit</source>
        <translation>Color Edit</translation>
    </message>
    <message>
        <source>LED SWITCH</source>
        <translation>LEDMODE SWITCH</translation>
    </message>
    <message>
        <source>Enable sync</source>
        <translation>MOTION SYNC</translation>
    </message>
    <message>
        <source>1 mm</source>
        <translation>1 mm</translation>
    </message>
    <message>
        <source>2 mm</source>
        <translation>2 mm</translation>
    </message>
    <message>
        <source>1mm</source>
        <translation>1mm</translation>
    </message>
    <message>
        <source>2mm</source>
        <translation>2mm</translation>
    </message>
    <message>
        <source>Delay:</source>
        <translation>DELAY(ms):</translation>
    </message>
    <message>
        <source>LOOPS TIME(1-255)</source>
        <translation>LOOPS TIME</translation>
    </message>
    <message>
        <source>ACTION</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>DELAY</source>
        <translation>Delay</translation>
    </message>
    <message>
        <source>DELAY(ms)</source>
        <translation>Delay(ms)</translation>
    </message>
    <message>
        <source>DISTANCE</source>
        <translation>Distance</translation>
    </message>
    <message>
        <source>KEY</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>MOVEMENT</source>
        <translation>Movement</translation>
    </message>
    <message>
        <source>Press</source>
        <translation>Press</translation>
    </message>
    <message>
        <source>Release</source>
        <translation>Release</translation>
    </message>
    <message>
        <source>MOUSE OFF</source>
        <translation>MOUSE OFF</translation>
    </message>
    <message>
        <source>Profile is Already Used!</source>
        <translation>PROFILE IS ALREADY USED!</translation>
    </message>
    <message>
        <source>The default Profile cannot be deleted or renamed.</source>
        <translation>THE DEFAULT PROFILE CANNOT BE DELETED OR RENAMED.</translation>
    </message>
    <message>
        <source>Profile Exist!</source>
        <translation>PROFILE EXIST!</translation>
    </message>
    <message>
        <source>AT LEAST ONE PROFILE TO BE RETAINED.</source>
        <translation>AT LEAST ONE PROFILE TO BE RETAINED.</translation>
    </message>
    <message>
        <source>Are you sure you want delete this profile?</source>
        <translation>ARE YOU SURE YOU WANT DELETE THIS PROFILE?</translation>
    </message>
    <message>
        <source>Are you sure you want reset this profile?</source>
        <translation>ARE YOU SURE YOU WANT RESET THIS PROFILE?</translation>
    </message>
    <message>
        <source>Are you sure you want reset all profiles?</source>
        <translation>ARE YOU SURE YOU WANT RESET ALL PROFILES?</translation>
    </message>
    <message>
        <source>The file is not match current mouse!</source>
        <translation>THE FILE IS NOT MATCH CURRENT MOUSE!</translation>
    </message>
    <message>
        <source>125 HZ</source>
        <translation>125 HZ</translation>
    </message>
    <message>
        <source>250 HZ</source>
        <translation>250 HZ</translation>
    </message>
    <message>
        <source>500 HZ</source>
        <translation>500 HZ</translation>
    </message>
    <message>
        <source>1000 HZ</source>
        <translation>1000 HZ</translation>
    </message>
    <message>
        <source>PROFILE FILE COULD NOT BE WRITTEN!</source>
        <translation>PROFILE FILE COULD NOT BE WRITTEN!</translation>
    </message>
    <message>
        <source>INVALID PROFILE NAME!</source>
        <translation>INVALID PROFILE NAME!</translation>
    </message>
    <message>
        <source>Save Profile File</source>
        <translation>SAVE PROFILE FILE</translation>
    </message>
    <message>
        <source>Profile File(*.prof)</source>
        <translation>PROFILE FILE(*.PROF)</translation>
    </message>
    <message>
        <source>Load Profile File</source>
        <translation>LOAD PROFILE FILE</translation>
    </message>
    <message>
        <source>Save Config File</source>
        <translation>SAVE CONFIG FILE</translation>
    </message>
    <message>
        <source>Config File(*.conf)</source>
        <translation>CONFIG FILE(*.CONF)</translation>
    </message>
    <message>
        <source>CONFIG FILE COULD NOT BE WRITTEN!</source>
        <translation>CONFIG FILE COULD NOT BE WRITTEN!</translation>
    </message>
    <message>
        <source>Load Config File</source>
        <translation>LOAD CONFIG FILE</translation>
    </message>
    <message>
        <source>The settings could not be saved to the data folder. Nothing was sent.</source>
        <translation>THE SETTINGS COULD NOT BE SAVED TO THE DATA FOLDER. NOTHING WAS SENT.</translation>
    </message>
    <message>
        <source>A settings file could not be read. Nothing was saved or sent.</source>
        <translation>A SETTINGS FILE COULD NOT BE READ. NOTHING WAS SAVED OR SENT.</translation>
    </message>
    <message>
        <source>Key Response</source>
        <translation>KEY RESPONSE</translation>
    </message>
    <message>
        <source>SCROLL SPEED</source>
        <translation>SCROLL SPEED</translation>
    </message>
    <message>
        <source>Lift Distance</source>
        <translation>LIFT DISTANCE</translation>
    </message>
    <message>
        <source>Angle Snapping</source>
        <translation>ANGLE SNAPPING</translation>
    </message>
    <message>
        <source>Jitter</source>
        <translation>JITTER</translation>
    </message>
    <message>
        <source>ON</source>
        <translation>ON</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>OFF</translation>
    </message>
    <message>
        <source>REPORT RATE</source>
        <translation>REPORT RATE</translation>
    </message>
    <message>
        <source>Lift off Distance</source>
        <translation>LIFT OFF DISTANCE</translation>
    </message>
    <message>
        <source>Link XY</source>
        <translation>LINK XY</translation>
    </message>
    <message>
        <source>APPLY</source>
        <translation>APPLY</translation>
    </message>
    <message>
        <source>EFFECT</source>
        <translation>EFFECT</translation>
    </message>
    <message>
        <source>BRIGHTNESS</source>
        <translation>BRIGHTNESS</translation>
    </message>
    <message>
        <source>SPEED</source>
        <translation>SPEED</translation>
    </message>
    <message>
        <source>COLOR</source>
        <translation>COLOR</translation>
    </message>
    <message>
        <source>SLEEP TIME</source>
        <translation>SLEEP TIME</translation>
    </message>
    <message>
        <source>MOVE TO LIGHT OFF</source>
        <translation>MOVE TO LIGHT OFF</translation>
    </message>
    <message>
        <source>7 COLOR BREATHING</source>
        <translation>7 COLOR BREATHING</translation>
    </message>
    <message>
        <source>FLASH</source>
        <translation>FLASH</translation>
    </message>
    <message>
        <source>WAVE</source>
        <translation>WAVE</translation>
    </message>
    <message>
        <source>GO WITHOUT TRACE</source>
        <translation>GO WITHOUT TRACE</translation>
    </message>
    <message>
        <source>yo-yo</source>
        <translation>YO-YO</translation>
    </message>
    <message>
        <source>Marbles</source>
        <translation>MARBLES</translation>
    </message>
    <message>
        <source>The diagnostics were recorded in %1</source>
        <translation>DONE: THE DIAGNOSTICS ARE SAVED IN %1</translation>
    </message>
    <message>
        <source>The diagnostics cannot be recorded in %1: %2</source>
        <translation>THE DIAGNOSTICS CANNOT BE RECORDED IN %1: %2</translation>
    </message>
    <message>
        <source>The mouse could not be given your settings when it connected.</source>
        <translation>THE MOUSE COULD NOT BE GIVEN YOUR SETTINGS WHEN IT CONNECTED.</translation>
    </message>
    <message>
        <source>Profile per application...</source>
        <translation>PROFILE PER APPLICATION...</translation>
    </message>
    <message>
        <source>The rules could not be saved to the data folder.</source>
        <translation>THE RULES COULD NOT BE SAVED TO THE DATA FOLDER.</translation>
    </message>
    <message>
        <source>LOAD A CONFIGURATION</source>
        <translation>LOAD A CONFIGURATION</translation>
    </message>
    <message>
        <source>CONFIGURATION LOADED AND WRITTEN TO THE MOUSE.</source>
        <translation>CONFIGURATION LOADED AND WRITTEN TO THE MOUSE.</translation>
    </message>
    <message>
        <source>RENAME</source>
        <translation>RENAME</translation>
    </message>
    <message>
        <source>IMPORT PROFILE...</source>
        <translation>IMPORT PROFILE...</translation>
    </message>
    <message>
        <source>EXPORT PROFILE...</source>
        <translation>EXPORT PROFILE...</translation>
    </message>
    <message>
        <source>Active on the mouse</source>
        <translation>ACTIVE ON THE MOUSE</translation>
    </message>
    <message>
        <source>ON-BOARD PROFILES</source>
        <translation>ON-BOARD PROFILES</translation>
    </message>
    <message>
        <source>PROFILE LIBRARY</source>
        <translation>PROFILE LIBRARY</translation>
    </message>
    <message>
        <source>* NOT YET APPLIED
OWN TO EACH: REPORT RATE, WHEEL SPEED, EFFECT, DPI STAGE
SHARED, FROM PROFILE 1: DPI STAGES, BUTTONS, MACROS, COLOURS</source>
        <translation>* NOT YET APPLIED
OWN TO EACH: REPORT RATE, WHEEL SPEED, EFFECT, DPI STAGE
SHARED, FROM PROFILE 1: DPI STAGES, BUTTONS, MACROS, COLOURS</translation>
    </message>
    <message>
        <source>CHANGES NOT YET APPLIED TO THE MOUSE WOULD BE LOST: %1.</source>
        <translation>CHANGES NOT YET APPLIED TO THE MOUSE WOULD BE LOST: %1.</translation>
    </message>
    <message>
        <source>DISCARD</source>
        <translation>DISCARD</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>CANCEL</translation>
    </message>
    <message>
        <source>ANOTHER PROFILE FOR THIS SLOT</source>
        <translation>ANOTHER PROFILE FOR THIS SLOT</translation>
    </message>
    <message>
        <source>SETTINGS WRITTEN TO THE MOUSE.</source>
        <translation>SETTINGS WRITTEN TO THE MOUSE.</translation>
    </message>
    <message>
        <source>A NEW PROFILE FOR THIS SLOT</source>
        <translation>A NEW PROFILE FOR THIS SLOT</translation>
    </message>
    <message>
        <source>QUIT</source>
        <translation>QUIT</translation>
    </message>
    <message>
        <source>PROFILE %1</source>
        <translation>PROFILE %1</translation>
    </message>
    <message>
        <source>EFFECT: %1&apos;S OWN. COLOURS: SHARED BY ALL PROFILES, SET IN PROFILE 1.</source>
        <translation>EFFECT: %1'S OWN. COLOURS: SHARED BY ALL PROFILES, SET IN PROFILE 1.</translation>
    </message>
    <message>
        <source>BUTTONS: SHARED BY ALL PROFILES, SET IN PROFILE 1.</source>
        <translation>BUTTONS: SHARED BY ALL PROFILES, SET IN PROFILE 1.</translation>
    </message>
    <message>
        <source>REPORT RATE, WHEEL SPEED, ACTIVE STAGE: %1&apos;S OWN. DPI STAGES: SHARED, SET IN PROFILE 1.</source>
        <translation>REPORT RATE, WHEEL SPEED, ACTIVE STAGE: %1'S OWN. DPI STAGES: SHARED, SET IN PROFILE 1.</translation>
    </message>
    <message>
        <source>MACROS: SHARED BY ALL PROFILES.</source>
        <translation>MACROS: SHARED BY ALL PROFILES.</translation>
    </message>
    <message>
        <source>%1 already exists. Do you want to replace it?</source>
        <translation>%1 ALREADY EXISTS. DO YOU WANT TO REPLACE IT?</translation>
    </message>
    <message>
        <source>The pointer speed of this desktop cannot be set: it is known for GNOME, Plasma, sway and X11 only.</source>
        <translation>THE POINTER SPEED OF THIS DESKTOP CANNOT BE SET: IT IS KNOWN FOR GNOME, PLASMA, SWAY AND X11 ONLY.</translation>
    </message>
    <message>
        <source>The firmware updater could not be started:
%1</source>
        <translation>THE FIRMWARE UPDATER COULD NOT BE STARTED:
%1</translation>
    </message>
    <message>
        <source>The firmware updater is not installed. It is looked for at:
%1</source>
        <translation>THE FIRMWARE UPDATER IS NOT INSTALLED. IT IS LOOKED FOR AT:
%1</translation>
    </message>
    <message>
        <source>So that two copies never write to the mouse at once, the program does not start.</source>
        <translation>SO THAT TWO COPIES NEVER WRITE TO THE MOUSE AT ONCE, THE PROGRAM DOES NOT START.</translation>
    </message>
    <message>
        <source>Record diagnostics...</source>
        <translation>RECORD DIAGNOSTICS...</translation>
    </message>
    <message>
        <source>The program cannot be set to start when you log in: %1</source>
        <translation>THE PROGRAM CANNOT BE SET TO START WHEN YOU LOG IN: %1</translation>
    </message>
    <message>
        <source>The program cannot be kept from starting when you log in: %1</source>
        <translation>THE PROGRAM CANNOT BE KEPT FROM STARTING WHEN YOU LOG IN: %1</translation>
    </message>
    <message>
        <source>The product description is missing or damaged, so the mouse&apos;s buttons are not known. Your settings were saved; nothing was sent, and the mouse keeps its own settings.</source>
        <translation>THE PRODUCT DESCRIPTION IS MISSING OR DAMAGED, SO THE MOUSE'S BUTTONS ARE NOT KNOWN. YOUR SETTINGS WERE SAVED; NOTHING WAS SENT, AND THE MOUSE KEEPS ITS OWN SETTINGS.</translation>
    </message>
</context>
<context>
    <name>RuntimeDir</name>
    <message>
        <source>%1 could not be created: %2</source>
        <translation>%1 could not be created: %2</translation>
    </message>
    <message>
        <source>%1 could not be examined: %2</source>
        <translation>%1 could not be examined: %2</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 is not a folder</translation>
    </message>
    <message>
        <source>%1 belongs to another user</source>
        <translation>%1 belongs to another user</translation>
    </message>
    <message>
        <source>%1 can be written by other users</source>
        <translation>%1 can be written by other users</translation>
    </message>
    <message>
        <source>there is no per-user runtime folder on this system</source>
        <translation>there is no per-user runtime folder on this system</translation>
    </message>
</context>
<context>
    <name>SaveResult</name>
    <message>
        <source>not a regular file</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>too large to be one of this program&apos;s files</source>
        <translation>too large to be one of this program's files</translation>
    </message>
    <message>
        <source>its folder could not be created</source>
        <translation>its folder could not be created</translation>
    </message>
    <message>
        <source>the file system refused it</source>
        <translation>the file system refused it</translation>
    </message>
    <message>
        <source>not a usable file name</source>
        <translation>not a usable file name</translation>
    </message>
    <message>
        <source>it is there but could not be read, so it is kept</source>
        <translation>it is there but could not be read, so it is kept</translation>
    </message>
    <message>
        <source>%1 could not be saved: %2.</source>
        <translation>%1 could not be saved: %2.</translation>
    </message>
    <message>
        <source>no free name to keep the old file</source>
        <translation>no free name to keep the old file</translation>
    </message>
    <message>
        <source>%1 could not be put back as it was</source>
        <translation>%1 could not be put back as it was</translation>
    </message>
    <message>
        <source>(its old content is %1)</source>
        <translation>(its old content is %1)</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>The product description %1 is missing.</source>
        <translation>The product description %1 is missing.</translation>
    </message>
    <message>
        <source>The product description %1 cannot be read.</source>
        <translation>The product description %1 cannot be read.</translation>
    </message>
    <message>
        <source>The product description %1 is damaged: it does not say which buttons the mouse has.</source>
        <translation>The product description %1 is damaged: it does not say which buttons the mouse has.</translation>
    </message>
</context>
<context>
    <name>SingleInstance</name>
    <message>
        <source>The program cannot make sure that it runs only once: %1.</source>
        <translation>The program cannot make sure that it runs only once: %1.</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>it is not a file this user can create or replace</source>
        <translation>it is not a file this user can create or replace</translation>
    </message>
    <message>
        <source>The program cannot make sure that it runs only once: its lock %1 cannot be written (%2).</source>
        <translation>The program cannot make sure that it runs only once: its lock %1 cannot be written (%2).</translation>
    </message>
</context>
</TS>

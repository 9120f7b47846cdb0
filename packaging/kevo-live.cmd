@echo off
rem kevo-live beside your contest logger: edit the lines below with
rem Notepad, then double-click this file. Ctrl+C or closing the window
rem stops kevo-live; the journal keeps every contact it took. See
rem README.txt, "kevo-live.exe".
setlocal
cd /d "%~dp0"

rem Your own number and region, as for the statistics reset in the host.
set KEVO_OWN_NUMBER=12
set KEVO_OWN_REGION=W
rem Where the logger sends its contacts: 0.0.0.0 takes them from this PC and
rem the network. When another program has the port, take another one (12061)
rem and add it to the logger as a second destination.
set KEVO_UDP=0.0.0.0:12060
rem The live page, http://127.0.0.1:12070/ in the browser of this PC.
set KEVO_HTTP=127.0.0.1:12070
rem Every contact taken, in this folder; kept across restarts. A new contest
rem wants a new name (or the old file moved away).
set KEVO_JOURNAL=kevo-live.journal
rem The exchange list for the call check (the example one of this zip).
set KEVO_EXCHANGE_LIST=RADL.lst
rem Optional: post the score to an online scoreboard, with your call.
set KEVO_POST=
set KEVO_CALL=

set KEVO_SCOREBOARD=
if not "%KEVO_POST%"=="" set KEVO_SCOREBOARD=--post %KEVO_POST% --call %KEVO_CALL%
kevo-live.exe --udp %KEVO_UDP% --http %KEVO_HTTP% --journal "%KEVO_JOURNAL%" ^
  --own-number %KEVO_OWN_NUMBER% --own-region %KEVO_OWN_REGION% ^
  --exchange-list "%KEVO_EXCHANGE_LIST%" %KEVO_SCOREBOARD%
pause

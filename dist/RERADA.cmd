@echo off
rem RERADA: opens a zalprint document with the HTA host, whose script prints
rem it and closes it again, and waits until it has closed.
rem Usage: RERADA document.hta
if "%~1"=="" exit /b 0
start /wait mshta.exe "%~f1"

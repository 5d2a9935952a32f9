# Sources of the test workflow that talk to Windows, added to tb_win32.

# The windows and the executable.

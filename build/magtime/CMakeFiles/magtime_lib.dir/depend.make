# Empty dependencies file for magtime_lib.
# This may be replaced when dependencies are built.

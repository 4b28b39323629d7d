# Empty dependencies file for magtime.
# This may be replaced when dependencies are built.

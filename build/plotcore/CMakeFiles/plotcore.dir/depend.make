# Empty dependencies file for plotcore.
# This may be replaced when dependencies are built.

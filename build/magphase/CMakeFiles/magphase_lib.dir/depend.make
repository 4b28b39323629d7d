# Empty dependencies file for magphase_lib.
# This may be replaced when dependencies are built.

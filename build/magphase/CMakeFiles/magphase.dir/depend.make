# Empty dependencies file for magphase.
# This may be replaced when dependencies are built.

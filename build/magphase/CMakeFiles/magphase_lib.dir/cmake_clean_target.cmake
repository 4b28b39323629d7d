file(REMOVE_RECURSE
  "libmagphase_lib.a"
)

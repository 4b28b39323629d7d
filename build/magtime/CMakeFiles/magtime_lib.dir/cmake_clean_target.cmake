file(REMOVE_RECURSE
  "libmagtime_lib.a"
)

file(REMOVE_RECURSE
  "libplotcore.a"
)

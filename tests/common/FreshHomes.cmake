# Makes the tests' home folders afresh: ROOT emptied, then for each of NAMES a
# home with its XDG folders. Run by ctest before the tests (fixture vx_fresh_homes).
file(REMOVE_RECURSE ${ROOT})
foreach(name IN LISTS NAMES)
  foreach(folder IN ITEMS .config .local/state .local/share .cache)
    file(MAKE_DIRECTORY ${ROOT}/${name}/${folder})
  endforeach()
endforeach()

# Makes the four game names of the demo game in the run folder's game folder:
#   cmake -DFOLDER=<run>/DependFile/Game -DTARGET=../../rotaflex-demo-game -P link_game_names.cmake
# Each name is a symbolic link to TARGET (relative to FOLDER). Whatever already stands under a
# name, a game the user put there or a link of an earlier build, is kept.
if(NOT FOLDER OR NOT TARGET)
  message(FATAL_ERROR "link_game_names.cmake: give -DFOLDER=... and -DTARGET=...")
endif()

file(MAKE_DIRECTORY "${FOLDER}")
foreach(name GM01_Alpha GM02_Bravo GM03_Charlie GM04_Delta)
  set(link "${FOLDER}/${name}")
  if(EXISTS "${link}" OR IS_SYMLINK "${link}")
    continue()
  endif()
  file(CREATE_LINK "${TARGET}" "${link}" SYMBOLIC RESULT failed)
  if(failed)
    message(WARNING "cannot link ${link}: ${failed}")
  endif()
endforeach()

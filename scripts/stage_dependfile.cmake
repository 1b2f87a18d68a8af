# Stages the shipped files of a DependFile tree into the run-time folder:
#   cmake -DSOURCE=<repo>/DependFile -DDESTINATION=<build>/run/DependFile -P stage_dependfile.cmake
# What the program writes there (the database, the ini files, the logs) is never copied over,
# the game catalogue is copied only when the run folder has none (it is where a site lists its own
# games), and any other shipped file that was edited in the run folder (run.sh edits config.xml)
# is replaced only when the repository's file is newer.
if(NOT SOURCE OR NOT DESTINATION)
  message(FATAL_ERROR "stage_dependfile.cmake: give -DSOURCE=... and -DDESTINATION=...")
endif()

file(GLOB_RECURSE shipped RELATIVE "${SOURCE}" "${SOURCE}/*")
foreach(relative IN LISTS shipped)
  # Run-time data, also when a run from the repository root left some in the source tree.
  if(relative MATCHES "^DBFile/.*\\.db" OR relative MATCHES "^conf/.*\\.ini$" OR relative MATCHES "^log/")
    continue()
  endif()
  set(target "${DESTINATION}/${relative}")
  if(EXISTS "${target}" AND (relative STREQUAL "ConfigFile/gameListConfig.xml"
                             OR NOT "${SOURCE}/${relative}" IS_NEWER_THAN "${target}"))
    continue()
  endif()
  get_filename_component(folder "${target}" DIRECTORY)
  # Copying keeps the source's time stamp, so an unchanged file is not copied again.
  file(COPY "${SOURCE}/${relative}" DESTINATION "${folder}")
endforeach()

# The folders the program writes into exist even when nothing of theirs is shipped.
foreach(folder DBFile conf log)
  file(MAKE_DIRECTORY "${DESTINATION}/${folder}")
endforeach()

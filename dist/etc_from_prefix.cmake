# Run by cpack on the staged package tree, the prefix being /usr: the configuration
# files move from /usr/etc to /etc, where Debian's conffiles are, and the programs lose
# the compilers' notes of its .comment section, as Debian's own packages do.
set(staging "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${staging}/usr/etc/*")
foreach(file ${staged})
  string(REPLACE "${staging}/usr/etc/" "${staging}/etc/" target "${file}")
  get_filename_component(directory "${target}" DIRECTORY)
  file(MAKE_DIRECTORY "${directory}")
  file(RENAME "${file}" "${target}")
endforeach()
file(REMOVE_RECURSE "${staging}/usr/etc")
find_program(OBJCOPY objcopy REQUIRED)
foreach(program usr/bin/fof1plot usr/libexec/fof1plot/fof1plot-hapi)
  execute_process(COMMAND ${OBJCOPY} --remove-section=.comment "${staging}/${program}"
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()

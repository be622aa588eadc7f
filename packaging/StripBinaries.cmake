# Run by CPack on the staged files before it makes the package: strips the programs as
# Debian's dh_strip does, the symbols and the .comment and .note sections with them (the
# compilers' names and versions, of no use at run time).
file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*")
foreach(program IN LISTS programs)
  execute_process(COMMAND strip --remove-section=.comment --remove-section=.note "${program}"
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()

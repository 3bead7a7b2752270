# Included by CPack when it packs (CPACK_PROJECT_CONFIG_FILE). For the source release it copies
# exactly the files git tracks into a staging folder and packs that folder as it is, so no build
# folder, picture or cache of the checkout gets in; the binary package is left alone.

# Only the source release's configuration lists folders to pack.
if(NOT CPACK_INSTALLED_DIRECTORIES)
  return()
endif()

find_program(ORVESSA_GIT git)
if(ORVESSA_GIT)
  execute_process(COMMAND ${ORVESSA_GIT} -c core.quotePath=false ls-files
                  WORKING_DIRECTORY ${CPACK_ORVESSA_SOURCE_DIR}
                  OUTPUT_VARIABLE tracked RESULT_VARIABLE git_failed ERROR_QUIET)
endif()
if(NOT ORVESSA_GIT OR git_failed OR NOT tracked)
  message(FATAL_ERROR "The source release packs the files git tracks: "
                      "${CPACK_ORVESSA_SOURCE_DIR} must be a git checkout, with git installed.")
endif()
string(REGEX REPLACE "\n$" "" tracked "${tracked}")
string(REPLACE "\n" ";" tracked "${tracked}")

# Each file as it is in the working tree, with its permissions (the scripts stay executable).
set(stage ${CPACK_PACKAGE_DIRECTORY}/_CPack_Packages/tracked-files)
file(REMOVE_RECURSE ${stage})
foreach(path ${tracked})
  get_filename_component(folder ${stage}/${path} DIRECTORY)
  file(COPY ${CPACK_ORVESSA_SOURCE_DIR}/${path} DESTINATION ${folder})
endforeach()

set(CPACK_INSTALLED_DIRECTORIES "${stage};/")
# Nothing to leave out any more, and no install prefix: the binary package's /usr is not ours.
set(CPACK_IGNORE_FILES "")
set(CPACK_PACKAGING_INSTALL_PREFIX "")

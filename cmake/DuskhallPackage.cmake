# What the Debian packages (scripts/make-debs, from the shared build of the deb
# preset) need from the install: in each component's doc folder the copyright
# file and packaging/changelog as changelog.Debian.gz, and its lintian overrides.
# The Windows .zip is put together from the cross builds by scripts/windows-zip.
if(WIN32 OR CMAKE_CROSSCOMPILING)
  return()
endif()

# packaging/changelog's newest entry must be this version's: the packages take
# their version from it.
set(changelog ${CMAKE_SOURCE_DIR}/packaging/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})
file(STRINGS ${changelog} newest_entry LIMIT_COUNT 1)
if(NOT newest_entry MATCHES "^duskhall \\(([^ )]+)-([^ )-]+)\\) ")
  message(FATAL_ERROR "packaging/changelog does not begin with an entry "
                      "'duskhall (VERSION-REVISION) ...': '${newest_entry}'")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "packaging/changelog's newest entry is for ${CMAKE_MATCH_1}, the project "
                      "is at ${PROJECT_VERSION}: add an entry for ${PROJECT_VERSION}-1 on top")
endif()

# Only a shared build has a runtime package to make.
if(NOT BUILD_SHARED_LIBS)
  return()
endif()

execute_process(COMMAND gzip -9nc ${changelog} OUTPUT_FILE ${CMAKE_BINARY_DIR}/changelog.Debian.gz
                RESULT_VARIABLE gzip_status)
if(NOT gzip_status EQUAL 0)
  message(FATAL_ERROR "cannot compress packaging/changelog")
endif()
foreach(component runtime development programs)
  string(TOUPPER ${component} key)
  set(package ${DUSKHALL_${key}_PACKAGE})
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/changelog.Debian.gz
          DESTINATION ${DUSKHALL_${key}_DOC_DIR} COMPONENT ${component})
  if(EXISTS ${CMAKE_SOURCE_DIR}/packaging/lintian/${package})
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/lintian/${package}
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides COMPONENT ${component})
  endif()
endforeach()

# Checks the documents of the installation in PREFIX (made by
# CheckInstall.cmake) with the tool a Debian system reads them with:
#   TOOL=appstream  appstreamcli validates the AppStream file against the
#                   installed desktop entry, without the network;
#   TOOL=man        man renders both manual pages, with groff's warnings on.
#   cmake -DTOOL=... -DPREFIX=... -DAPPSTREAM_ID=... -P CheckDocuments.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/SkipWithout.cmake)

set(failures "")
if(TOOL STREQUAL "appstream")
  skip_without(appstreamcli appstreamcli)
  set(file ${PREFIX}/share/metainfo/${APPSTREAM_ID}.metainfo.xml)
  execute_process(COMMAND ${appstreamcli} validate-tree --no-net ${PREFIX}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT EXISTS ${file} OR NOT status EQUAL 0 OR NOT out MATCHES "Validation was successful")
    string(APPEND failures "\n  appstreamcli validate-tree: status ${status}: ${out}${err}")
  endif()
  # What a software centre shows in both languages.
  file(READ ${file} metainfo)
  foreach(part "<summary>" "<summary xml:lang=\"tr\">" "<p xml:lang=\"tr\">"
               "<launchable type=\"desktop-id\">cihaz-test.desktop</launchable>" "/docs/main-calls.png</image>"
               "<content_rating type=\"oars-1.1\"/>" "<release version=\"${VERSION}\" date=\"")
    string(FIND "${metainfo}" "${part}" at)
    if(at LESS 0)
      string(APPEND failures "\n  the AppStream file lacks ${part}")
    endif()
  endforeach()
elseif(TOOL STREQUAL "man")
  skip_without(man man)
  foreach(program cihaz-test cid-generate)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env MANWIDTH=80 MANPAGER=cat LC_ALL=C.UTF-8
                            ${man} --warnings -l ${PREFIX}/share/man/man1/${program}.1.gz
                    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(TOUPPER ${program} title)
    if(NOT status EQUAL 0 OR NOT err STREQUAL "" OR NOT out MATCHES "^${title}\\(1\\).*\nNAME\n +${program} - "
       OR NOT out MATCHES "\nSYNOPSIS\n +${program} " OR NOT out MATCHES "--version\n"
       OR NOT out MATCHES "\nEXIT STATUS\n")
      string(APPEND failures "\n  man -l ${program}.1.gz: status ${status}, errors [${err}], output [${out}]")
    endif()
  endforeach()
else()
  message(FATAL_ERROR "TOOL must be appstream or man, not '${TOOL}'")
endif()

if(failures)
  message(FATAL_ERROR "The installed documents are not right:${failures}")
endif()
message(STATUS "Checked the documents in ${PREFIX} with ${TOOL}")

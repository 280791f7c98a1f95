# Installs the build into a fresh prefix and checks what a desktop finds
# there: the program, answering --help and --version on standard output
# without opening a window, the caller-ID generator, their manual pages, the
# desktop entry, the icon at every usual theme size, the AppStream file, the
# copyright file and the changelog, and nothing else.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DVERSION=... -P CheckInstall.cmake

cmake_minimum_required(VERSION 3.25)

set(sizes 16 22 24 32 48 64 128 256)
set(failures "")
macro(fail text)
  string(APPEND failures "\n  ${text}")
endmacro()

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status}): ${errors}")
endif()

# Exactly these files.
set(expected bin/cihaz-test bin/cid-generate share/applications/cihaz-test.desktop
             share/man/man1/cihaz-test.1.gz share/man/man1/cid-generate.1.gz
             share/metainfo/${APPSTREAM_ID}.metainfo.xml share/doc/cihaz-test/copyright
             share/doc/cihaz-test/changelog.Debian.gz share/lintian/overrides/cihaz-test)
foreach(size ${sizes})
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/cihaz-test.png)
endforeach()
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT installed)
list(SORT expected)
if(NOT installed STREQUAL expected)
  fail("installed files: ${installed}\n  expected: ${expected}")
endif()

# The program, with no display to open a window on: a window would end it
# with an error.
function(run_program expect_status expect_out expect_err)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb
                          ${PREFIX}/bin/cihaz-test ${ARGN}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status STREQUAL expect_status OR NOT out MATCHES "${expect_out}" OR NOT err MATCHES "${expect_err}")
    set(failures "${failures}\n  cihaz-test ${ARGN}: status ${status}, output [${out}], errors [${err}]" PARENT_SCOPE)
  endif()
endfunction()
string(REPLACE "." "\\." version_pattern "${VERSION}")
run_program(0 "^cihaz-test ${version_pattern}\n$" "^$" --version)
run_program(0 "^Usage: cihaz-test \\[OPTION\\]\\.\\.\\.\n.*  --help .*  --version .*\n$" "^$" --help)
run_program(0 "^Usage: " "^$" --help --no-such-option)
run_program(0 "^cihaz-test ${version_pattern}\n$" "^$" --version --device nonsense)
run_program(2 "^$" "^cihaz-test: unknown option '--no-such-option'\n$" --no-such-option --help)
execute_process(COMMAND ${PREFIX}/bin/cid-generate --help RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out MATCHES "--standard <standard>.*--out <file>" OR NOT err STREQUAL "")
  fail("cid-generate --help: status ${status}, output [${out}], errors [${err}]")
endif()

# The desktop entry: valid, Turkish, a utility, starting the installed program.
set(entry ${PREFIX}/share/applications/cihaz-test.desktop)
find_program(validate desktop-file-validate)
if(NOT validate)
  fail("desktop-file-validate is missing (tools/install-deps.sh installs it)")
else()
  execute_process(COMMAND ${validate} ${entry} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0 OR NOT "${out}${err}" STREQUAL "")
    fail("desktop-file-validate: status ${status}: ${out}${err}")
  endif()
endif()
if(EXISTS ${entry})
  file(STRINGS ${entry} lines ENCODING UTF-8)
  foreach(line "Type=Application" "Name=Cihaz Test" "Exec=cihaz-test" "Icon=cihaz-test" "Categories=Utility;"
               "Comment=Arayan numara cihazlarının bağlantısını, çağrılarını ve hat sinyallerini sınar")
    if(NOT line IN_LIST lines)
      fail("the desktop entry lacks \"${line}\"")
    endif()
  endforeach()
endif()

# The icons: PNG pictures of their directory's size.
foreach(size ${sizes})
  set(icon ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/cihaz-test.png)
  if(EXISTS ${icon})
    file(READ ${icon} signature LIMIT 8 HEX)
    file(READ ${icon} width OFFSET 16 LIMIT 4 HEX)
    file(READ ${icon} height OFFSET 20 LIMIT 4 HEX)
    math(EXPR width "0x${width}")
    math(EXPR height "0x${height}")
    if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT width EQUAL size OR NOT height EQUAL size)
      fail("${icon}: signature ${signature}, ${width} x ${height}")
    endif()
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "The installation is not right:${failures}")
endif()
message(STATUS "Installed and checked in ${PREFIX}")

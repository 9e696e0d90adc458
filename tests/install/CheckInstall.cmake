# Installs the build in BUILD_DIR under PREFIX and checks that a desktop can start Quillon from its
# menu with its icon and offer it for list files, and that its hint files are in its data folder:
# cmake -DBUILD_DIR=... -DPREFIX=... -P CheckInstall.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

function(expect_file path)
  if(NOT EXISTS ${PREFIX}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endfunction()

expect_file(bin/quillon)
expect_file(share/applications/quillon.desktop)
expect_file(share/mime/packages/quillon-lists.xml)
foreach(hint Cheat CCheat ZCCheat VCheat ZVCheat ECheat BCheat QCheat)
  expect_file(share/quillon/${hint}.dat)
endforeach()
foreach(size 64 128 256)
  expect_file(share/icons/hicolor/${size}x${size}/apps/quillon.png)
endforeach()

# The entry starts the installed program with one file, names the installed icon and the types the
# installed type file defines; those types match *.lst and *.qes whatever the letter case.
file(READ ${PREFIX}/share/applications/quillon.desktop entry)
foreach(line "Exec=quillon %f" "Icon=quillon" "Type=Application" "MimeType=text/x-quillon-list;text/x-quillon-qes;")
  string(FIND "${entry}" "\n${line}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the desktop entry lacks the line: ${line}")
  endif()
endforeach()
file(READ ${PREFIX}/share/mime/packages/quillon-lists.xml types)
foreach(part "type=\"text/x-quillon-list\"" "type=\"text/x-quillon-qes\""
             "<glob pattern=\"*.lst\" case-sensitive=\"false\"/>" "<glob pattern=\"*.qes\" case-sensitive=\"false\"/>")
  string(FIND "${types}" "${part}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the type file lacks: ${part}")
  endif()
endforeach()

# The icon is a real picture of its size.
file(READ ${PREFIX}/share/icons/hicolor/64x64/apps/quillon.png head LIMIT 24 HEX)
if(NOT head MATCHES "^89504e470d0a1a0a0000000d4948445200000040")
  message(FATAL_ERROR "the 64 pixel icon is not a 64 pixel wide PNG: ${head}")
endif()

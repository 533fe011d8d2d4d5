# Installs the desktop program into a staging folder and checks that ".vkp"
# is registered: the desktop entry names the MIME type, the shared-mime-info
# definition maps "*.vkp" to it, and the guide, metadata, icons and manual
# page lie where the desktop and man look for them.
# -DBUILD_DIR=<build folder> -DSTAGE=<empty folder to use>
file(REMOVE_RECURSE "${STAGE}")
execute_process(
  COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix /usr --component velkora_desktop
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install failed: ${out}")
endif()

function(expect_file path)
  if(NOT EXISTS "${STAGE}/usr/${path}")
    message(FATAL_ERROR "missing after install: ${path}")
  endif()
endfunction()
expect_file(bin/velkora)
expect_file(share/velkora/VelkHelp.html)
expect_file(share/velkora/VelkCli.html)
expect_file(share/velkora/VelkStart.html)
expect_file(share/velkora/velkora-main-window.png)
expect_file(share/man/man1/velkora.1.gz)
expect_file(share/applications/example.velkora.Velkora.desktop)
expect_file(share/metainfo/example.velkora.Velkora.metainfo.xml)
expect_file(share/mime/packages/velkora-project.xml)
expect_file(share/icons/hicolor/scalable/apps/example.velkora.Velkora.svg)
foreach(size 16 24 32 48 64 128 256)
  expect_file(share/icons/hicolor/${size}x${size}/apps/example.velkora.Velkora.png)
endforeach()

file(READ "${STAGE}/usr/share/applications/example.velkora.Velkora.desktop" entry)
foreach(line "MimeType=application/x-velkora-project;" "Exec=velkora %f" "Type=Application")
  string(FIND "${entry}" "${line}" at)
  if(at LESS 0)
    message(FATAL_ERROR "desktop entry lacks '${line}'")
  endif()
endforeach()
file(READ "${STAGE}/usr/share/mime/packages/velkora-project.xml" mime)
foreach(text "type=\"application/x-velkora-project\"" "pattern=\"*.vkp\"")
  string(FIND "${mime}" "${text}" at)
  if(at LESS 0)
    message(FATAL_ERROR "MIME definition lacks ${text}")
  endif()
endforeach()
file(REMOVE_RECURSE "${STAGE}")

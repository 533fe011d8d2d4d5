# Installs the desktop program into a staging folder and checks that ".vkp"
# is registered: the desktop entry names the MIME type, the shared-mime-info
# definition maps "*.vkp" to it, and the guide lies beside the program.
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
expect_file(bin/VelkHelp.html)
expect_file(share/applications/velkora.desktop)
expect_file(share/mime/packages/velkora-project.xml)
expect_file(share/icons/hicolor/scalable/apps/velkora.svg)

file(READ "${STAGE}/usr/share/applications/velkora.desktop" entry)
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

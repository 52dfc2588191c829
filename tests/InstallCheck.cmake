# Installs into a scratch prefix and checks that every file lands in its standard place, that the
# desktop entry offers Velmora for folders and audio files, and that AppStream accepts the tree.
# Variables: BUILD_DIR, PREFIX, APPSTREAMCLI (may be empty).
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
foreach(f bin/velmora
          share/applications/velmora.desktop
          share/metainfo/org.velmora.Velmora.metainfo.xml
          share/icons/hicolor/scalable/apps/velmora.svg
          share/icons/hicolor/48x48/apps/velmora.png
          share/man/man1/velmora.1
          share/bash-completion/completions/velmora
          share/zsh/site-functions/_velmora
          share/doc/velmora/velmora-guide.html)
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
file(READ "${PREFIX}/share/applications/velmora.desktop" entry)
string(REGEX MATCH "\nMimeType=[^\n]*" mime "${entry}")
foreach(type inode/directory audio/mpeg)
  if(NOT mime MATCHES "[=;]${type};")
    message(FATAL_ERROR "the desktop entry does not offer ${type}")
  endif()
endforeach()
if(APPSTREAMCLI)
  execute_process(COMMAND "${APPSTREAMCLI}" validate-tree --no-net "${PREFIX}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "appstreamcli validate-tree failed")
  endif()
endif()

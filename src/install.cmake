# Installed layout of Kestrum:
#   <libdir>/kestrum/   kestrum, kestrum-cli, libsolvane.so, libftpack.so, help page
#   <bindir>/           symbolic links to the two programs
# The programs open the libraries by their full path in the program's own directory, which a
# symbolic link does not change (it is read from /proc/self/exe): no library search path.
set(KESTRUM_INSTALL_PKGDIR ${CMAKE_INSTALL_LIBDIR}/kestrum)

# A symbolic link <bindir>/<name> -> <libdir>/kestrum/<name>, relative so that the whole
# tree can move, made at install time (it honours DESTDIR and --prefix).
function(kestrum_install_program_link name)
  install(CODE "
    set(_prefix \"\${CMAKE_INSTALL_PREFIX}\")
    set(_bin \"${CMAKE_INSTALL_BINDIR}\")
    set(_pkg \"${KESTRUM_INSTALL_PKGDIR}\")
    if(NOT IS_ABSOLUTE \"\${_bin}\")
      set(_bin \"\${_prefix}/\${_bin}\")
    endif()
    if(NOT IS_ABSOLUTE \"\${_pkg}\")
      set(_pkg \"\${_prefix}/\${_pkg}\")
    endif()
    file(RELATIVE_PATH _target \"\${_bin}\" \"\${_pkg}/${name}\")
    set(_link \"\$ENV{DESTDIR}\${_bin}/${name}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${_bin}\")
    message(STATUS \"Installing: \${_link} -> \${_target}\")
    file(CREATE_LINK \"\${_target}\" \"\${_link}\" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${_link}\")
  ")
endfunction()

if(TARGET kestrum-cli)
  install(TARGETS kestrum-cli RUNTIME DESTINATION ${KESTRUM_INSTALL_PKGDIR})
  kestrum_install_program_link(kestrum-cli)
endif()
foreach(library solvane ftpack)
  if(TARGET ${library})
    install(TARGETS ${library} LIBRARY DESTINATION ${KESTRUM_INSTALL_PKGDIR})
  endif()
endforeach()

# What `cmake --install` puts under the prefix; the Debian package (cmake/package.cmake) holds the
# same tree under /usr.
#
# The programs and the help files go side by side into one private folder, as in the build tree:
# the simulator installs the screensaver and its help from its own folder and opens its help there,
# and each program finds its folder through /proc/self/exe, so the links below lead to it.
#   bin/bramblex2, bin/bramblex-run                 links to the simulator and the runner
#   libexec/xscreensaver/bramblex2-screensaver      link to the saver, where xscreensaver and MATE
#                                                   look for screen hacks
#   share/...                                       desktop entries, icons, AppStream, man pages,
#                                                   the hosts' settings files, copyright
include(GNUInstallDirs)
# A fixed lib/, not the multiarch folder GNUInstallDirs gives /usr on Debian: the folder holds
# programs and help, no libraries. platform/folders.cpp knows the name: a copy there keeps its
# profiles per user.
set(BRAMBLEX_INSTALL_DIR lib/bramblex2)
set(BRAMBLEX_HACK_DIR ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(BRAMBLEX_BUILT_DATA ${CMAKE_BINARY_DIR}/data)

# A relative link <folder>/<name> to a program of the private folder, so the installed tree can be
# moved or staged with DESTDIR. Further arguments go to install(CODE), such as COMPONENT.
function(bramblex_install_link folder name program)
  file(RELATIVE_PATH prefix /root/${folder} /root/${BRAMBLEX_INSTALL_DIR})
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${folder}/${name}\")
    message(STATUS \"Installing: \${link} -> ${prefix}/${program}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${folder}\")
    file(REMOVE \"\${link}\")
    file(CREATE_LINK \"${prefix}/${program}\" \"\${link}\" SYMBOLIC)
    # The manifest lists what file(INSTALL) installs, without DESTDIR; a link made here is added.
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${CMAKE_INSTALL_PREFIX}/${folder}/${name}\")
  " ${ARGN})
endfunction()

# A desktop entry that names an installed program by its full path (the prefix is known only at
# install time): @BRAMBLEX_EXEC@ in the template becomes <prefix>/<program>.
function(bramblex_install_desktop_entry template program destination)
  get_filename_component(name ${template} NAME_WLE)
  # Made in a folder of its own for each prefix and DESTDIR: a package and a test install may run
  # at once.
  install(CODE "
    set(BRAMBLEX_EXEC \"\${CMAKE_INSTALL_PREFIX}/${program}\")
    string(MD5 staging \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
    set(entry \"${CMAKE_BINARY_DIR}/install/\${staging}/${name}\")
    configure_file(\"${CMAKE_SOURCE_DIR}/${template}\" \"\${entry}\" @ONLY)
    file(INSTALL \"\${entry}\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${destination}\")
  ")
endfunction()

# A file compressed at build time as Debian wants man pages and changelogs (gzip -n: no name or
# time inside, so the same text gives the same file), installed as <destination>/<name>.gz.
# A relative source is in the source tree, an absolute one built.
# Further arguments go to install(FILES), such as COMPONENT.
function(bramblex_install_gzipped source destination)
  get_filename_component(name ${source} NAME)
  if(IS_ABSOLUTE ${source})
    file(RELATIVE_PATH relative ${CMAKE_BINARY_DIR} ${source})
  else()
    set(relative ${source})
    set(source ${CMAKE_SOURCE_DIR}/${source})
  endif()
  string(MAKE_C_IDENTIFIER ${relative} target)
  set(packed ${BRAMBLEX_BUILT_DATA}/gz/${target}/${name}.gz)
  add_custom_command(OUTPUT ${packed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${BRAMBLEX_BUILT_DATA}/gz/${target}
    COMMAND gzip -n -9 -c ${source} > ${packed}
    DEPENDS ${source} VERBATIM)
  add_custom_target(bramblex_gz_${target} ALL DEPENDS ${packed})
  install(FILES ${packed} DESTINATION ${destination} ${ARGN})
endfunction()

function(bramblex_install_man_pages)
  foreach(page ${ARGN})
    get_filename_component(section ${page} LAST_EXT)
    string(SUBSTRING ${section} 1 -1 section)
    bramblex_install_gzipped(man/${page} ${CMAKE_INSTALL_MANDIR}/man${section})
  endforeach()
endfunction()

install(TARGETS bramblex-run RUNTIME DESTINATION ${BRAMBLEX_INSTALL_DIR})
bramblex_install_link(${CMAKE_INSTALL_BINDIR} bramblex-run bramblex-run)
# bramblex-run's page lists the simulation options from the option table.
set(run_page ${BRAMBLEX_BUILT_DATA}/man/bramblex-run.1)
add_custom_command(OUTPUT ${run_page}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${BRAMBLEX_BUILT_DATA}/man
  COMMAND bramblex_manoptions ${CMAKE_SOURCE_DIR}/man/bramblex-run.1.in ${run_page}
  DEPENDS bramblex_manoptions ${CMAKE_SOURCE_DIR}/man/bramblex-run.1.in VERBATIM)
bramblex_install_gzipped(${run_page} ${CMAKE_INSTALL_MANDIR}/man1)
set(CMAKE_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/bramblex2)
install(FILES data/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
bramblex_install_gzipped(data/changelog ${CMAKE_INSTALL_DOCDIR})

if(BRAMBLEX_GUI)
  install(TARGETS bramblex_simulator bramblex_screensaver RUNTIME DESTINATION ${BRAMBLEX_INSTALL_DIR})
  install(FILES help/bramblex.hlp help/bramblexss.hlp help/bramblexss.cnt DESTINATION ${BRAMBLEX_INSTALL_DIR})
  bramblex_install_link(${CMAKE_INSTALL_BINDIR} bramblex2 "Bramblex 2")
  bramblex_install_link(${BRAMBLEX_HACK_DIR} bramblex2-screensaver "Bramblex 2.scr")
  bramblex_install_man_pages(bramblex2.1 bramblex2-screensaver.6)

  # The simulator in the desktop's menu, and in software centres through its AppStream metainfo.
  bramblex_install_desktop_entry(data/bramblex2.desktop.in ${CMAKE_INSTALL_BINDIR}/bramblex2
                                 ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES data/com.example.bramblex.bramblex2.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES data/bramblex2.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # Pictures of the icon for menus and panels that want them, drawn from the SVG at build time.
  find_program(RSVG_CONVERT rsvg-convert)
  if(RSVG_CONVERT)
    foreach(size 16 22 24 32 48 64 128 256)
      set(png ${BRAMBLEX_BUILT_DATA}/icons/${size}x${size}/apps/bramblex2.png)
      add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${BRAMBLEX_BUILT_DATA}/icons/${size}x${size}/apps
        COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${CMAKE_SOURCE_DIR}/data/bramblex2.svg
        DEPENDS ${CMAKE_SOURCE_DIR}/data/bramblex2.svg VERBATIM)
      list(APPEND icon_pictures ${png})
      install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
    add_custom_target(bramblex_icons ALL DEPENDS ${icon_pictures})
  else()
    message(STATUS "rsvg-convert not found (librsvg2-bin): the icon is installed as SVG only")
  endif()

  # Screensaver hosts: xscreensaver's settings dialog reads the XML; MATE's and Xfce's screensaver
  # preferences list the desktop entries under applications/screensavers. Both start the saver
  # from the screen-hack folder.
  install(FILES data/bramblex2-screensaver.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
  bramblex_install_desktop_entry(data/bramblex2-screensaver.desktop.in ${BRAMBLEX_HACK_DIR}/bramblex2-screensaver
                                 ${CMAKE_INSTALL_DATADIR}/applications/screensavers)
endif()

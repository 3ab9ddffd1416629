# The distribution's hardening flags, as Debian builds its packages with them: dpkg-buildflags with
# DEB_BUILD_MAINT_OPTIONS=hardening=+all (fortify, stack protector, format checks, relro, bindnow).
# Taken by every optimised build on a system that has dpkg-buildflags, so that the package holds
# the programs the tests ran. The build type keeps choosing optimisation and debug information:
# dpkg's -O2, -g and the debug path maps are left out. BRAMBLEX_HARDENING=OFF leaves all out.
option(BRAMBLEX_HARDENING "Build optimised programs with the distribution's hardening flags (dpkg-buildflags)" ON)
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(BRAMBLEX_HARDENING AND DPKG_BUILDFLAGS AND NOT BRAMBLEX_SANITIZE
   AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                            ${DPKG_BUILDFLAGS} --get ${kind}
                    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(FILTER flags EXCLUDE REGEX "^-(O.*|g.*|f(file|debug|macro)-prefix-map=.*)$")
    if(kind STREQUAL LDFLAGS)
      add_link_options(${flags})
    else()
      add_compile_options(${flags})
    endif()
    list(APPEND BRAMBLEX_HARDENING_FLAGS ${flags})
  endforeach()
  message(STATUS "Hardening flags (dpkg-buildflags): ${BRAMBLEX_HARDENING_FLAGS}")
endif()

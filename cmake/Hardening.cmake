# The hardening flags Debian builds its packages with (dpkg-buildflags with every
# hardening feature: stack protector, _FORTIFY_SOURCE, format checks, read-only
# relocations bound at start), for everything the program is made of, so that the
# .deb's binary is what lintian expects of a Debian binary. Only the hardening part is
# taken: the build type keeps its own optimisation and debug flags. _FORTIFY_SOURCE
# needs an optimised build, and a sanitizer build has checks of its own, so neither
# gets them.
option(ORVELLA_HARDENING "Build with Debian's hardening flags (from dpkg-buildflags)" ON)
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(ORVELLA_HARDENING AND DPKG_BUILDFLAGS AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$"
   AND NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env "DEB_BUILD_MAINT_OPTIONS=hardening=+all reproducible=-all"
              "DEB_${kind}_MAINT_STRIP=-g -O2" ${DPKG_BUILDFLAGS} --get ${kind}
      OUTPUT_VARIABLE flags
      OUTPUT_STRIP_TRAILING_WHITESPACE
      RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "dpkg-buildflags --get ${kind} failed")
    endif()
    separate_arguments(flags UNIX_COMMAND "${flags}")
    set(ORVELLA_HARDENING_${kind} ${flags})
  endforeach()
  add_compile_options(${ORVELLA_HARDENING_CPPFLAGS} ${ORVELLA_HARDENING_CXXFLAGS})
  add_link_options(${ORVELLA_HARDENING_LDFLAGS})
  list(JOIN ORVELLA_HARDENING_CXXFLAGS " " shown)
  message(STATUS "Hardening: ${ORVELLA_HARDENING_CPPFLAGS} ${shown} (linking: ${ORVELLA_HARDENING_LDFLAGS})")
endif()

# Run by CPack on the staged installation before it becomes the Debian
# package: lays it out as Debian's own games are. The program and the solver
# command move to /usr/games (the data folder, ../share/kalvex, is the same
# from there), the desktop entry is written again to start it there, and the
# manual pages, the changelog, the copyright file and lintian's overrides
# take the places and the compression that Debian expects. The stripped program got its resources back when it was
# installed (app/).

set(root ${CPACK_TEMPORARY_DIRECTORY})
set(usr ${root}${CPACK_PACKAGING_INSTALL_PREFIX})
set(doc ${usr}/share/doc/${CPACK_PACKAGE_NAME})

file(MAKE_DIRECTORY ${usr}/games)
foreach(program kalvex kalvex-solve)
    file(RENAME ${usr}/bin/${program} ${usr}/games/${program})
endforeach()
file(GLOB left ${usr}/bin/*)
if(left)
    message(FATAL_ERROR "DebianLayout: ${usr}/bin holds more than the game and its solver: ${left}")
endif()
file(REMOVE_RECURSE ${usr}/bin)

set(KX_INSTALLED_PROGRAM /usr/games/kalvex)
set(KX_INSTALLED_DATA /usr/share/kalvex)
set(KX_APP_ID ${CPACK_KX_APP_ID})
configure_file(${CPACK_KX_DESKTOP_TEMPLATE}
    ${usr}/share/applications/${KX_APP_ID}.desktop @ONLY)

file(MAKE_DIRECTORY ${doc})
file(COPY_FILE ${CPACK_KX_COPYRIGHT} ${doc}/copyright)
file(COPY_FILE ${CPACK_KX_CHANGELOG} ${doc}/changelog)
file(MAKE_DIRECTORY ${usr}/share/lintian/overrides)
file(COPY_FILE ${CPACK_KX_LINTIAN_OVERRIDES}
    ${usr}/share/lintian/overrides/${CPACK_PACKAGE_NAME})

# gzip -n leaves out the name and time, so the package is the same each time.
foreach(file ${usr}/share/man/man6/kalvex.6 ${usr}/share/man/man6/kalvex-solve.6
        ${doc}/changelog)
    execute_process(COMMAND gzip -9n ${file} RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "DebianLayout: gzip could not compress ${file}")
    endif()
endforeach()

# Run by the build (cmake -P) to put the texts of every catalogue in PO_DIR
# into a desktop entry or an AppStream metainfo file: writes TEMPLATE, with
# the translations added, as OUTPUT. MODE is "desktop" or "xml".
#
# msgfmt adds one language at a time, each step taking the last one's file
# as its template; a failing step fails the build.

file(GLOB catalogues ${PO_DIR}/*.po)
# Each step adds its language after the earlier ones.
list(SORT catalogues)
get_filename_component(name ${OUTPUT} NAME)
set(steps ${OUTPUT}.steps)
file(REMOVE_RECURSE ${steps})
set(input ${TEMPLATE})
foreach(po ${catalogues})
    get_filename_component(language ${po} NAME_WE)
    # The step keeps the file's name: msgfmt finds the XML rules by it.
    file(MAKE_DIRECTORY ${steps}/${language})
    set(step ${steps}/${language}/${name})
    execute_process(COMMAND ${MSGFMT} --${MODE} --template=${input}
            --locale=${language} --output-file=${step} ${po}
        RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "msgfmt could not merge ${po} into ${name}")
    endif()
    set(input ${step})
endforeach()
file(COPY_FILE ${input} ${OUTPUT})
file(REMOVE_RECURSE ${steps})

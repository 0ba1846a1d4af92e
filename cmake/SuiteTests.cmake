# kestrel_suite_tests(<target> <prefix> <properties...>): registers one ctest
# test per GoogleTest suite of <target> instead of one per test. Used for the
# tests that share the display, which must run one after the other: under
# Wine every process costs seconds to start, and a suite's tests share their
# set-up anyway. The suites are listed when ctest runs (the build never
# starts Wine) and again only when the executable or this registration
# changes.
function(kestrel_suite_tests target prefix)
    set(include_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_suites_include.cmake")
    set(list_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake")
    get_target_property(emulator ${target} CROSSCOMPILING_EMULATOR)
    if(NOT emulator)
        set(emulator "${CMAKE_CROSSCOMPILING_EMULATOR}")
    endif()
    file(GENERATE OUTPUT "${include_file}" CONTENT
"set(exe \"$<TARGET_FILE:${target}>\")
set(list_file \"${list_file}\")
if(NOT EXISTS \"\${list_file}\" OR \"\${exe}\" IS_NEWER_THAN \"\${list_file}\"
   OR \"\${CMAKE_CURRENT_LIST_FILE}\" IS_NEWER_THAN \"\${list_file}\")
    execute_process(COMMAND ${emulator} \"\${exe}\" --gtest_list_tests
                    WORKING_DIRECTORY \"${CMAKE_BINARY_DIR}\"
                    OUTPUT_VARIABLE listing RESULT_VARIABLE status TIMEOUT 120)
    set(body \"\")
    if(NOT status EQUAL 0)
        set(body \"add_test([=[${prefix}.LISTING]=] \${exe} --gtest_list_tests)\\n\")
    else()
        string(REPLACE \"\\n\" \";\" lines \"\${listing}\")
        foreach(line IN LISTS lines)
            if(line MATCHES \"^([A-Za-z0-9_/]+)\\\\.\")
                set(suite \"\${CMAKE_MATCH_1}\")
                string(APPEND body \"add_test([=[${prefix}.\${suite}]=] ${emulator} [=[\${exe}]=] [=[--gtest_filter=\${suite}.*]=])\\n\")
                string(APPEND body \"set_tests_properties([=[${prefix}.\${suite}]=] PROPERTIES WORKING_DIRECTORY [=[${CMAKE_BINARY_DIR}]=] ${ARGN})\\n\")
            endif()
        endforeach()
    endif()
    file(WRITE \"\${list_file}\" \"\${body}\")
endif()
include(\"\${list_file}\")
")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${include_file}")
endfunction()

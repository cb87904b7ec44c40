# quen reg: each chain of cases writes, reads, tests and deletes one value of
# the company key, in order. On Linux the tool works on a store of these
# tests' own; under Wine on the prefix's registry.
set(reg_key "HKEY_CURRENT_USER\\\\Software\\\\QUEN Ltd.")
set(reg_environment "QUEN_REGISTRY=${CMAKE_CURRENT_BINARY_DIR}/tool-registry.sqlite3")

function(quen_reg_chain name)
    set(previous "")
    foreach(step ${ARGN})
        set(case ${${step}})
        quen_tool_test(reg.${name}.${step} ${case} ENVIRONMENT ${reg_environment})
        if(previous)
            set_tests_properties(tool.reg.${name}.${step} PROPERTIES DEPENDS tool.reg.${name}.${previous})
        endif()
        set(previous ${step})
    endforeach()
endfunction()

set(setText EXIT 0 ARGS reg set ${reg_key} tool-test-text "hello, world")
set(getText EXIT 0 ARGS reg get ${reg_key} TOOL-TEST-TEXT OUTPUT "^hello, world\n$")
set(hasText EXIT 0 ARGS reg has ${reg_key} tool-test-text OUTPUT "^yes\n$")
set(deleteText EXIT 0 ARGS reg delete ${reg_key} tool-test-text)
set(hasDeleted EXIT 1 ARGS reg has ${reg_key} tool-test-text OUTPUT "^no\n$")
set(getDeleted EXIT 1 ARGS reg get ${reg_key} tool-test-text ERROR "no value 'tool-test-text'")
set(deleteDeleted EXIT 1 ARGS reg delete ${reg_key} tool-test-text)
quen_reg_chain(text setText getText hasText deleteText hasDeleted getDeleted deleteDeleted)

set(setInt EXIT 0 ARGS reg set ${reg_key} tool-test-int -5 --int)
set(getInt EXIT 0 ARGS reg get ${reg_key} tool-test-int OUTPUT "^-5\n$")
set(setBool EXIT 0 ARGS reg set ${reg_key} tool-test-int yes --bool)
set(getBool EXIT 0 ARGS reg get ${reg_key} tool-test-int OUTPUT "^true\n$")
set(deleteInt EXIT 0 ARGS reg delete ${reg_key} tool-test-int)
quen_reg_chain(typed setInt getInt setBool getBool deleteInt)

quen_tool_test(reg.missingKey EXIT 1 ARGS reg get "${reg_key}\\\\No Such Key" x ERROR "(^|\n)quen reg: [^\n]*No Such Key: no such key\n$"
    ENVIRONMENT ${reg_environment})
quen_tool_test(reg.notARoot EXIT 1 ARGS reg has "Software\\\\QUEN Ltd." x OUTPUT "^no\n$"
    ENVIRONMENT ${reg_environment})
quen_tool_test(reg.noAction EXIT 2 ARGS reg ERROR "needs get, set, delete or has")
quen_tool_test(reg.unknownOption EXIT 2 ARGS reg set ${reg_key} x 1 --float ERROR "unknown option '--float'")
quen_tool_test(reg.badNumber EXIT 2 ARGS reg set ${reg_key} x 1e3 --int ERROR "not a number for --int")
quen_tool_test(reg.badBool EXIT 2 ARGS reg set ${reg_key} x maybe --bool ERROR "not true or false")

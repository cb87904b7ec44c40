# quen event and quen progress.
quen_tool_test(eventWaitTimesOut EXIT 1 ARGS event wait QuenToolNobodySets 0 OUTPUT "^timed out\n$")
quen_tool_test(eventSet EXIT 0 ARGS event set QuenToolSetAlone OUTPUT "^$")
quen_tool_test(eventReset EXIT 0 ARGS event reset QuenToolResetAlone OUTPUT "^$")
quen_tool_test(eventNeedsAnAction EXIT 2 ARGS event ERROR "no action given")
quen_tool_test(eventUnknownAction EXIT 2 ARGS event pulse X ERROR "unknown action 'pulse'")
quen_tool_test(eventSetTakesOneName EXIT 2 ARGS event set X Y ERROR "wrong number of arguments")
quen_tool_test(eventWaitNeedsANumber EXIT 2 ARGS event wait X soon ERROR "not a number for MILLISECONDS: 'soon'")
# Only -1 waits without limit: the case ends it after its time-out.
quen_tool_test(eventWaitWithoutLimit EXIT timeout TIMEOUT 3 ARGS event wait QuenToolNobodySetsThis -1)
quen_tool_test(eventWaitNegative EXIT 2 ARGS event wait X -5 ERROR "MILLISECONDS must be -1 \\(no limit\\) or 0 to")
# The system's text without its CR LF: one line naming the event.
quen_tool_test(eventBadName EXIT 1 ARGS event set "No\\Such" ERROR "(^|\n)quen event: No\\\\Such: [^\r\n]+\n$")
quen_tool_test(progressCycles EXIT 0 ARGS progress 3 5
    OUTPUT "^step 1 \\[#\\.\\.\\] 1/3 Waiting\nstep 2 \\[##\\.\\] 2/3 Waiting\nstep 3 \\[###\\] 3/3 Waiting\nstep 4 \\[\\.\\.\\.\\] 0/3 Waiting\nstep 5 \\[#\\.\\.\\] 1/3 Waiting\ncomplete \\[###\\] 3/3 Done\n$")
quen_tool_test(progressCancelled EXIT 1 ARGS progress 4 3 2
    OUTPUT "^step 1 \\[#\\.\\.\\.\\] 1/4 Waiting\nstep 2 \\[##\\.\\.\\] 2/4 Waiting \\(cancelled\\)\nstep 3 \\[##\\.\\.\\] 2/4 Waiting \\(cancelled\\)\ncomplete \\[##\\.\\.\\] 2/4 Waiting \\(cancelled\\)\n$")
quen_tool_test(progressRange EXIT 2 ARGS progress -1 ERROR "CYCLE must be 0 to 1000")

# Writes the tavisto-cli manual page from the program's own help texts, so that the
# page and --help never disagree. Run as a build step:
#   cmake -DCLI=path/to/tavisto-cli -DVERSION=3.2 -DOUT=tavisto-cli.1 -P ManPage.cmake

function(run_help out_var)
    execute_process(COMMAND ${CLI} ${ARGN} --help OUTPUT_VARIABLE text RESULT_VARIABLE code)
    if(NOT code EQUAL 0)
        message(FATAL_ERROR "${CLI} ${ARGN} --help failed: ${code}")
    endif()
    set(${out_var} "${text}" PARENT_SCOPE)
endfunction()

# Help text as a literal (no-fill) roff block: backslashes escaped, and lines that
# would read as roff requests guarded.
function(roff_block out_var text)
    string(REPLACE "\\" "\\e" text "${text}")
    string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
    set(${out_var} ".nf\n${text}.fi\n" PARENT_SCOPE)
endfunction()

run_help(general)

# The command names: the indented first words between "Commands:" and the blank
# line after them.
string(REGEX MATCH "\nCommands:\n(  [^\n]*\n)+" list "${general}")
string(REGEX MATCHALL "\n  [a-z][a-z0-9-]*" names "${list}")
list(TRANSFORM names STRIP)
if(NOT names)
    message(FATAL_ERROR "no commands found in the help of ${CLI}")
endif()

roff_block(description "${general}")
set(page ".TH TAVISTO-CLI 1 \"\" \"Tavisto ${VERSION}\" \"User Commands\"\n")
string(APPEND page ".SH NAME\ntavisto-cli \\- configure serial TFT customer displays\n")
string(APPEND page ".SH SYNOPSIS\n.B tavisto-cli\n[\\fIOPTIONS\\fR] \\fICOMMAND\\fR [\\fIARGS\\fR]\n")
string(APPEND page ".SH DESCRIPTION\n${description}")
string(APPEND page ".SH COMMANDS\n")
foreach(name IN LISTS names)
    run_help(help ${name})
    roff_block(block "${help}")
    string(APPEND page ".SS ${name}\n${block}")
endforeach()
string(APPEND page ".SH PERMISSIONS\n"
    "Serial ports usually belong to the group \\fBdialout\\fR. "
    "\\fBtavisto-cli ports\\fR marks the ports this user may not open; "
    "\\fBsudo usermod -aG dialout $USER\\fR and logging in again lets the user open them.\n")
string(APPEND page ".SH SEE ALSO\n\\fBtavisto\\fR (the window), "
    "\\fBtavisto-sim\\fR (a virtual display to try the commands on)\n")
file(WRITE "${OUT}" "${page}")

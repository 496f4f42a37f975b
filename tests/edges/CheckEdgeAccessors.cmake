# Checks that the process-wide accessors of the engine, the release catalogue,
# the session, the accessory manager and the game-controller manager and
# service (sharedInstance(), sharedController(), sharedAccessoryManager(),
# sharedService()), the controller registry (sharedRegistry()) and
# UpgradeRun::current() are called only at the edges:
# in src/app/ and in each tool's main.cpp. Everything else is handed what it
# uses. Their declarations and definitions are not calls, nor are comments.
#
# The callers not moved yet are listed in LIST, one "PATH COUNT" a line: a
# listed file may call them that many times, no more and no fewer (a caller
# moved lowers its count, so the list only shrinks).
#
#   cmake -DROOT=<tree> -DLIST=<callers-to-move.txt> -P CheckEdgeAccessors.cmake
# Prints "FILE calls a process-wide accessor N times (the list says M): LINE"
# for every file that calls them more often than listed
# "FILE: N calls, the list says M: lower it" for a count to lower, and fails when
# there is either.

cmake_minimum_required(VERSION 3.25)

foreach(required ROOT LIST)
    if(NOT ${required})
        message(FATAL_ERROR "${required} not given")
    endif()
endforeach()
get_filename_component(ROOT ${ROOT} ABSOLUTE)

set(listed)
file(STRINGS ${LIST} entries REGEX "^[^#]")
foreach(entry IN LISTS entries)
    if(NOT entry MATCHES "^([^ ]+) +([0-9]+)$")
        message(FATAL_ERROR "${LIST}: not \"PATH COUNT\": ${entry}")
    endif()
    list(APPEND listed ${CMAKE_MATCH_1})
    set(allowed_${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
endforeach()

set(accessor "(sharedInstance|sharedController|sharedAccessoryManager|sharedService|sharedRegistry)\\(\\)|UpgradeRun::current\\(\\)")
file(GLOB_RECURSE files RELATIVE ${ROOT} ${ROOT}/src/*.cpp ${ROOT}/src/*.h ${ROOT}/tools/*.cpp ${ROOT}/tools/*.h)
list(SORT files)
set(faults 0)
set(pending 0)
foreach(file IN LISTS files)
    if(file MATCHES "^src/app/|^tools/[^/]+/main\\.cpp$")
        continue()
    endif()
    file(READ ${ROOT}/${file} content)
    string(REPLACE ";" "" content "${content}")
    string(REGEX MATCHALL "[^\n]*(${accessor})[^\n]*" lines "${content}")
    set(count 0)
    set(first "")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "//.*" "" code "${line}")
        # A declaration ("static T& sharedInstance()") or a definition's head
        # ("T& T::sharedInstance()" at the start of a line) is not a call.
        if(code MATCHES "^[ \t]*static [^(]*\\(\\)[ \t]*$" OR code MATCHES "^[A-Za-z][^ ]*[ *&]+[A-Za-z_0-9]+::[A-Za-z]+\\(\\)[ \t]*$")
            continue()
        endif()
        string(REGEX MATCHALL "${accessor}" calls "${code}")
        list(LENGTH calls n)
        if(n GREATER 0 AND first STREQUAL "")
            string(STRIP "${code}" first)
        endif()
        math(EXPR count "${count} + ${n}")
    endforeach()
    set(allowed 0)
    if(file IN_LIST listed)
        set(allowed ${allowed_${file}})
    endif()
    if(count GREATER allowed)
        message("${file} calls a process-wide accessor ${count} times (the list says ${allowed}): ${first}")
        math(EXPR faults "${faults} + 1")
    elseif(count LESS allowed)
        message("${file}: ${count} calls, the list says ${allowed}: lower it")
        math(EXPR faults "${faults} + 1")
    endif()
    math(EXPR pending "${pending} + ${count}")
endforeach()
foreach(file IN LISTS listed)
    if(NOT file IN_LIST files)
        message("${file} is listed but not there: remove it from the list")
        math(EXPR faults "${faults} + 1")
    endif()
endforeach()
if(faults GREATER 0)
    message(FATAL_ERROR "${faults} file(s) break the rule")
endif()
message("edges: ${pending} calls outside src/app and the tools' main.cpp, all listed")

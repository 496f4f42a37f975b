# Checks that only the engine (src/upgrade/) writes the engine's public
# fields: the screens, the tools and the tests read them, and change them
# only through the engine's operations. The field names are read from the
# public part of ZelFirmwareUpgradeManager.h; a write is an assignment (plain
# or compound) or a clearing call (clear, reset, append...) on such a field of
# sharedInstance(), of engine(), or of a variable whose name holds "engine"
# (engine->x, m_engine.x, stationEngine.x...).
#
#   cmake -DROOT=<tree> -DHEADER=<ZelFirmwareUpgradeManager.h> -P CheckEngineFieldWrites.cmake
#         [-DEXCLUDE=<folder;folder>]   (relative to ROOT, besides src/upgrade)
# Prints every write as "FILE writes the engine's field NAME: TEXT" and fails
# when there is one.

cmake_minimum_required(VERSION 3.25)

foreach(required ROOT HEADER)
    if(NOT ${required})
        message(FATAL_ERROR "${required} not given")
    endif()
endforeach()
get_filename_component(ROOT ${ROOT} ABSOLUTE)

# The public part of the class, without comments, nested bodies and template
# arguments: what is left are declarations, one per semicolon.
file(READ ${HEADER} header)
string(FIND "${header}" "class ZelFirmwareUpgradeManager {" begin)
if(begin LESS 0)
    message(FATAL_ERROR "${HEADER} declares no class ZelFirmwareUpgradeManager")
endif()
string(SUBSTRING "${header}" ${begin} -1 header)
string(FIND "${header}" "private:" end)
string(SUBSTRING "${header}" 0 ${end} public)
string(REGEX REPLACE "^class ZelFirmwareUpgradeManager {" "" public "${public}")
string(REGEX REPLACE "//[^\n]*" "" public "${public}")
string(REGEX REPLACE "\"[^\"\n]*\"" "\"\"" public "${public}")
string(REGEX REPLACE "public:" "" public "${public}")
set(previous "")
while(NOT public STREQUAL previous)
    set(previous "${public}")
    string(REGEX REPLACE "{[^{}]*}" "" public "${public}")
    string(REGEX REPLACE "<[^<>]*>" "" public "${public}")
endwhile()
string(REGEX REPLACE "[\n\t ]+" " " public "${public}")

set(fields)
string(REPLACE ";" "\n" declarations "${public}")
string(REPLACE "\n" ";" declarations "${declarations}")
foreach(declaration IN LISTS declarations)
    string(STRIP "${declaration}" declaration)
    # Functions, constants, types and friends are not fields.
    if(declaration STREQUAL "" OR declaration MATCHES "\\(|^(static|using|struct|enum|friend|typedef) ")
        continue()
    endif()
    # "Type a = x, b = y": every name before an initialiser or a comma.
    string(REGEX REPLACE "=[^,]*" "" declaration "${declaration}")
    string(REPLACE "," ";" names "${declaration}")
    foreach(name IN LISTS names)
        string(STRIP "${name}" name)
        string(REGEX MATCH "[A-Za-z_][A-Za-z_0-9]*$" name "${name}")
        if(name)
            list(APPEND fields ${name})
        endif()
    endforeach()
endforeach()
list(REMOVE_DUPLICATES fields)
list(LENGTH fields field_count)
# The header's layout changed beyond what is read here: say so, rather than pass.
if(field_count LESS 10)
    message(FATAL_ERROR "only ${field_count} public fields read from ${HEADER} (${fields})")
endif()
list(JOIN fields "|" field_names)
if(SHOW_FIELDS)
    message("${fields}")
endif()

set(object "(sharedInstance\\(\\)|[A-Za-z_0-9]*[eE]ngine[A-Za-z_0-9]*(\\(\\))?)(\\.|->)")
set(change "[ \t]*([-+*/|&^]?=[^=]|(\\.|->)(clear|reset|swap|append|prepend|insert|remove|removeIf|removeAll|push_back|fill|replace)\\()")
set(write "${object}(${field_names})${change}")

set(excluded src/upgrade ${EXCLUDE})
set(breaches 0)
file(GLOB_RECURSE files ${ROOT}/*.h ${ROOT}/*.cpp)
list(SORT files)
foreach(file ${files})
    file(RELATIVE_PATH shown ${ROOT} ${file})
    set(skip FALSE)
    foreach(folder ${excluded})
        if(shown MATCHES "^${folder}/")
            set(skip TRUE)
        endif()
    endforeach()
    if(skip OR shown MATCHES "^build")
        continue()
    endif()
    file(READ ${file} text)
    string(REGEX MATCHALL "${write}" found "${text}")
    foreach(match IN LISTS found)
        string(REGEX REPLACE "^${object}(${field_names}).*" "\\4" field "${match}")
        string(STRIP "${match}" match)
        message("${shown} writes the engine's field ${field}: ${match}")
        math(EXPR breaches "${breaches} + 1")
    endforeach()
endforeach()

if(breaches GREATER 0)
    message(FATAL_ERROR "${breaches} write(s) of the engine's fields outside src/upgrade")
endif()
message("No file outside src/upgrade writes one of the engine's ${field_count} public fields")

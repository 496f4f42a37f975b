# Checks that the sources keep the layers one way, from their #include lines:
#   app -> views -> core, sim -> core, and inside the core
#   upgrade/firmware/input -> accessory -> platform/lib. The platform layer has
#   three rooms: runtime services (runtime/), accessory transports (transport/)
#   and game-controller devices (gamepad/); transports and game controllers both
#   stand on the runtime and never include each other, the runtime includes
#   neither, and nothing lies in platform/ outside the three.
# The core includes no Qt Widgets or web engine header. The web module (web/)
# is loaded at run time: it includes of the project only the page interface
# views/WebPage.h, nothing includes it, and no other folder includes a web
# engine header (the executable would link the engine again). The network
# module (network/) likewise includes of the project only lib/NetworkBackend.h,
# nothing includes it, and neither the core nor the screens nor the application
# include a header of Qt Network or its HTTP server (the executable would link
# them again); the simulator's TCP server, for the tools, may.
#
#   cmake -DSOURCE_DIR=<src> -DWIDGETS_HEADERS=<dir;dir> -P CheckLayers.cmake
# Prints every breach as "FILE includes HEADER (LAYER may not use TARGET)" and
# fails when there is one.

cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "SOURCE_DIR not given")
endif()
get_filename_component(SOURCE_DIR ${SOURCE_DIR} ABSOLUTE)

# What each folder may not include, by the first folder of the included path
# (the first two for the platform's rooms).
set(platform_rooms platform/runtime platform/transport platform/gamepad)
set(core_folders ${platform_rooms} lib accessory upgrade firmware input)
set(above_platform accessory upgrade firmware input sim views app web network)
set(forbidden_platform/runtime platform/transport platform/gamepad ${above_platform})
set(forbidden_platform/transport platform/gamepad ${above_platform})
set(forbidden_platform/gamepad platform/transport ${above_platform})
set(forbidden_lib platform/transport platform/gamepad ${above_platform})
set(forbidden_accessory upgrade firmware input sim views app web network)
set(forbidden_upgrade sim views app web network)
set(forbidden_firmware sim views app web network)
set(forbidden_input sim views app web network)
set(forbidden_sim views app web network)
set(forbidden_views app web network)
set(forbidden_app web network)
set(forbidden_web ${core_folders} sim app network)
set(allowed_web views/WebPage.h)
set(forbidden_network platform/transport platform/gamepad platform/runtime accessory upgrade firmware input sim views app web)
set(allowed_network lib/NetworkBackend.h)
set(network_free ${core_folders} views app)

# Header names of Qt Widgets and the web engine's widgets: not for the core.
set(widget_headers)
foreach(dir ${WIDGETS_HEADERS})
    file(GLOB names RELATIVE ${dir} ${dir}/Q*)
    list(APPEND widget_headers ${names})
endforeach()
list(APPEND widget_headers QtWidgets QtWebEngineWidgets)

set(breaches 0)
file(GLOB loose ${SOURCE_DIR}/platform/*.h ${SOURCE_DIR}/platform/*.cpp)
foreach(file ${loose})
    file(RELATIVE_PATH shown ${SOURCE_DIR} ${file})
    message("${shown} lies outside the platform's rooms (${platform_rooms})")
    math(EXPR breaches "${breaches} + 1")
endforeach()
foreach(layer ${platform_rooms} lib accessory upgrade firmware input sim views app web network)
    file(GLOB_RECURSE files ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp)
    foreach(file ${files})
        file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
        file(RELATIVE_PATH shown ${SOURCE_DIR} ${file})
        foreach(line ${includes})
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1" header "${line}")
            string(REGEX MATCH "^[^/]+" first "${header}")
            if(first STREQUAL "platform")
                string(REGEX MATCH "^platform/[^/]+" first "${header}")
            endif()
            string(TOLOWER "${header}" lower)
            if(header MATCHES "/" AND first IN_LIST forbidden_${layer})
                message("${shown} includes ${header} (${layer} may not use ${first})")
                math(EXPR breaches "${breaches} + 1")
            elseif(layer STREQUAL "web" AND first STREQUAL "views" AND NOT header IN_LIST allowed_web)
                message("${shown} includes ${header} (web may use only ${allowed_web} of views)")
                math(EXPR breaches "${breaches} + 1")
            elseif(layer STREQUAL "network" AND first STREQUAL "lib" AND NOT header IN_LIST allowed_network)
                message("${shown} includes ${header} (network may use only ${allowed_network} of lib)")
                math(EXPR breaches "${breaches} + 1")
            elseif(layer IN_LIST network_free
                AND lower MATCHES "^(qt(network|httpserver|websockets)/)?q(network|ssl|tcp|udp|local(server|socket)|host(address|info)|abstractsocket|httpserver|websocket|dns)")
                message("${shown} includes ${header} (${layer} may not use Qt Network)")
                math(EXPR breaches "${breaches} + 1")
            elseif(NOT layer STREQUAL "web" AND lower MATCHES "^(qtwebengine[a-z]*/)?qwebengine")
                message("${shown} includes ${header} (${layer} may not use the web engine)")
                math(EXPR breaches "${breaches} + 1")
            elseif(layer IN_LIST core_folders)
                get_filename_component(name ${header} NAME)
                if(name IN_LIST widget_headers OR first STREQUAL "QtWidgets" OR first STREQUAL "QtWebEngineWidgets")
                    message("${shown} includes ${header} (${layer} may not use Qt Widgets)")
                    math(EXPR breaches "${breaches} + 1")
                endif()
            endif()
        endforeach()
    endforeach()
endforeach()

if(breaches GREATER 0)
    message(FATAL_ERROR "${breaches} include(s) break the layering")
endif()
message("layering: every include points down")

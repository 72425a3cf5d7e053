# cmake -DOBJDUMP=... -P no_static_init.cmake FILE...: fails when an object in the FILEs
# (libraries or objects) has a static constructor or destructor (a .ctors or .dtors section).
# The program links no run-time library, and nothing would run them: such an object would
# start unbuilt.
set(files "")
foreach(i RANGE 4 ${CMAKE_ARGC})  # after "cmake -DOBJDUMP=... -P script"
    if(DEFINED CMAKE_ARGV${i} AND NOT CMAKE_ARGV${i} MATCHES "\\.res$")
        list(APPEND files "${CMAKE_ARGV${i}}")
    endif()
endforeach()
if(NOT files)
    message(FATAL_ERROR "no_static_init.cmake: no objects to check")
endif()
execute_process(COMMAND "${OBJDUMP}" -h ${files} OUTPUT_VARIABLE headers
                COMMAND_ERROR_IS_FATAL ANY)
set(object "")
string(REPLACE "\n" ";" lines "${headers}")
foreach(line IN LISTS lines)
    if(line MATCHES "^(.+):[ \t]+file format")
        set(object "${CMAKE_MATCH_1}")
    elseif(line MATCHES "[ \t]\\.[cd]tors")
        message(FATAL_ERROR "${object} has a static constructor or destructor, which no "
                            "run-time library runs here: make the object constinit")
    endif()
endforeach()

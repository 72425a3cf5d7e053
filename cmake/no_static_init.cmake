# cmake -DOBJDUMP=... -DLIBRARY=... -P no_static_init.cmake: fails when an object of LIBRARY
# has a static constructor or destructor (a .ctors or .dtors section). The program links no
# run-time library, and nothing would run them: such an object would start unbuilt.
execute_process(COMMAND "${OBJDUMP}" -h "${LIBRARY}" OUTPUT_VARIABLE headers
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

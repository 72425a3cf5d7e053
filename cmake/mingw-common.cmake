# QM_THREAD_MODEL picks the compilers: "win32" for the shipped program, whose runtime then
# needs nothing newer than Windows XP; "posix" for the tests, since GoogleTest needs
# std::mutex, which the win32 ones lack.
if(NOT QM_THREAD_MODEL)
    set(QM_THREAD_MODEL posix)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QM_THREAD_MODEL)
set(CMAKE_C_COMPILER ${QM_TRIPLE}-gcc-${QM_THREAD_MODEL})
set(CMAKE_CXX_COMPILER ${QM_TRIPLE}-g++-${QM_THREAD_MODEL})
set(CMAKE_RC_COMPILER ${QM_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QM_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

list(APPEND VOLTMETR_CORE_SOURCES
  signin/typedtext.h signin/typedtext.cpp
  signin/signin.h signin/signin.cpp)
list(APPEND VOLTMETR_GUI_SOURCES
  signin/welcome.h signin/welcome.cpp)

# files of this folder are listed here

plotcore/CMakeFiles/plotcore.dir/num.cc.o: /work/main/plotcore/num.cc \
 /usr/include/stdc-predef.h /work/main/plotcore/num.h

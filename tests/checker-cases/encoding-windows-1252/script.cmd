put ’
x:
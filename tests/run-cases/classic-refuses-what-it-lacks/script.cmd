counter add 2
counter multiply 3
echo %c

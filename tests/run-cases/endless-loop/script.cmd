loop:
counter add 1
save %c
goto loop

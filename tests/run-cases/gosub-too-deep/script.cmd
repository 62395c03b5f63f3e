sub:
pause 0
gosub sub

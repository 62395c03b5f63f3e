counter set 0
hunt:
put attack rat
match dead You killed
match hunt You miss
matchwait
dead:
counter add 1
echo killed %c
if_1 goto %1
exit
end:
put look

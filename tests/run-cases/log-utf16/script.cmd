waitfor Grüße
echo got it
